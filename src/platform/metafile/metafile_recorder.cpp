#include "platform/metafile/metafile_recorder.h"

#include "platform/metafile/record_layout.h"

namespace zr {

MetafileRecorder::MetafileRecorder(const Rect& frame, Resolution resolution,
                                   std::shared_ptr<FontResolver> fonts)
    : FontCanvas(std::move(fonts)), metafile_(frame, resolution) {}

Metafile MetafileRecorder::finish() {
  Metafile done = std::move(metafile_);
  metafile_ = Metafile(done.frame(), done.resolution());
  return done;
}

void MetafileRecorder::set_pen(const Pen& pen) {
  Canvas::set_pen(pen);
  metafile_.add(mf::SetPen{pen});
}

void MetafileRecorder::set_brush(const Brush& brush) {
  Canvas::set_brush(brush);
  metafile_.add(mf::SetBrush{brush});
}

void MetafileRecorder::set_font(const FontSelection& font) {
  Canvas::set_font(font);
  metafile_.add(mf::SetFont{font});
}

void MetafileRecorder::set_text_color(Color color) {
  Canvas::set_text_color(color);
  metafile_.add(mf::SetTextColor{color});
}

void MetafileRecorder::set_bk_mode(BkMode mode) {
  Canvas::set_bk_mode(mode);
  metafile_.add(mf::SetBkMode{mode});
}

void MetafileRecorder::set_bk_color(Color color) {
  Canvas::set_bk_color(color);
  metafile_.add(mf::SetBkColor{color});
}

void MetafileRecorder::set_text_char_extra(int extra) {
  Canvas::set_text_char_extra(extra);
  metafile_.add(mf::SetCharExtra{extra});
}

void MetafileRecorder::set_text_justification(int break_extra, int break_count) {
  Canvas::set_text_justification(break_extra, break_count);
  metafile_.add(mf::SetJustification{break_extra, break_count});
}

void MetafileRecorder::save_state() {
  Canvas::save_state();
  metafile_.add(mf::SaveState{});
}

void MetafileRecorder::restore_state() {
  Canvas::restore_state();
  metafile_.add(mf::RestoreState{});
}

void MetafileRecorder::intersect_clip_rect(const Rect& rect) {
  // The base would come back through intersect_clip_region and record twice.
  Canvas::intersect_clip_region(Region(rect.normalized()));
  metafile_.add(mf::IntersectClipRect{rect});
}

void MetafileRecorder::intersect_clip_region(const Region& region) {
  Canvas::intersect_clip_region(region);
  metafile_.add(mf::IntersectClipRegion{region});
}

void MetafileRecorder::move_to(Point p) {
  Canvas::move_to(p);
  metafile_.add(mf::MoveTo{p});
}

void MetafileRecorder::line_to(Point p) {
  Canvas::line_to(p);
  metafile_.add(mf::LineTo{p});
}

void MetafileRecorder::polyline(std::span<const Point> points) {
  metafile_.add(mf::Polyline{{points.begin(), points.end()}});
}

void MetafileRecorder::rectangle(const Rect& rect) {
  metafile_.add(mf::Rectangle{rect});
}

void MetafileRecorder::fill_rect(const Rect& rect) {
  metafile_.add(mf::FillRect{rect});
}

void MetafileRecorder::ellipse(const Rect& rect) {
  metafile_.add(mf::Ellipse{rect});
}

void MetafileRecorder::round_rect(const Rect& rect, int corner_width, int corner_height) {
  metafile_.add(mf::RoundRect{rect, corner_width, corner_height});
}

void MetafileRecorder::polygon(std::span<const Point> points) {
  metafile_.add(mf::Polygon{{points.begin(), points.end()}});
}

void MetafileRecorder::flood_fill(Point start, Color color, FloodFillType type) {
  metafile_.add(mf::FloodFill{start, color, type});
}

void MetafileRecorder::text_out(Point origin, std::string_view text, const TextOutParams& params) {
  mf::TextOut record;
  record.origin = origin;
  record.text = std::string(text);
  record.rect = params.rect;
  record.clipped = params.clipped;
  record.opaque = params.opaque;
  record.rtl_reading = params.rtl_reading;
  record.advances.assign(params.advances.begin(), params.advances.end());
  TextLayout laid = layout(text, params.advances);
  record.widths = std::move(laid.advances);
  Rect bounds = rect_from_size(origin.x, origin.y, laid.width, text_metrics().height).normalized();
  if (params.rect && params.opaque) {
    Rect r = params.rect->normalized();
    bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
              std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
  }
  if (params.rect && params.clipped) bounds = bounds.intersected(params.rect->normalized());
  record.bounds = bounds;
  metafile_.add(std::move(record));
}

void MetafileRecorder::stretch_draw(const Rect& dest, const Bitmap& bitmap) {
  metafile_.add(mf::StretchDraw{dest, std::make_shared<const Bitmap>(bitmap)});
}

}  // namespace zr
