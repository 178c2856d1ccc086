#include "platform/metafile/metafile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/rounding.h"

namespace zr {

namespace {

// Maps the frame's pixels onto the target rectangle.
class Scaler {
 public:
  Scaler(const Rect& from, const Rect& to)
      : from_(from),
        to_(to),
        sx_(static_cast<double>(to.width()) / from.width()),
        sy_(static_cast<double>(to.height()) / from.height()),
        identity_(from == to) {}

  bool identity() const { return identity_; }
  int x(int v) const {
    return round_half_even_to_int(to_.left + (double{1} * v - from_.left) * sx_);
  }
  int y(int v) const { return round_half_even_to_int(to_.top + (double{1} * v - from_.top) * sy_); }
  Point point(Point p) const { return {x(p.x), y(p.y)}; }
  Rect rect(const Rect& r) const { return {x(r.left), y(r.top), x(r.right), y(r.bottom)}; }
  int dx(int v) const { return round_half_even_to_int(v * sx_); }
  int dy(int v) const { return round_half_even_to_int(v * sy_); }

  std::vector<Point> points(const std::vector<Point>& in) const {
    std::vector<Point> out;
    out.reserve(in.size());
    for (Point p : in) out.push_back(point(p));
    return out;
  }
  Region region(const Region& in) const {
    Region out;
    for (const Rect& r : in.rects()) out.add(rect(r));
    return out;
  }
  Pen pen(Pen p) const {
    if (!identity_) p.width = round_half_even_to_int(p.width * (sx_ + sy_) / 2);
    return p;
  }
  FontSelection font(FontSelection f) const {
    if (identity_) return f;
    // A tiny font must not turn into the default height 0 stands for.
    int h = dy(f.height);
    f.height = (h == 0 && f.height != 0) ? (f.height < 0 ? -1 : 1) : h;
    int w = dx(f.width);
    f.width = (w == 0 && f.width != 0) ? 1 : w;
    return f;
  }
  // Scales the positions the advances lead to, so rounding does not add up along a line.
  std::vector<int> advances(const std::vector<int>& in) const {
    if (identity_) return in;
    std::vector<int> out;
    out.reserve(in.size());
    int64_t sum = 0;
    int64_t placed = 0;
    for (int a : in) {
      sum += a;
      int64_t next = round_half_even(static_cast<double>(sum) * sx_);
      out.push_back(static_cast<int>(std::clamp<int64_t>(next - placed, INT32_MIN, INT32_MAX)));
      placed = next;
    }
    return out;
  }

 private:
  Rect from_;
  Rect to_;
  double sx_;
  double sy_;
  bool identity_;
};

class Player {
 public:
  Player(Canvas& canvas, const Scaler& scale) : canvas_(canvas), s_(scale) {}
  ~Player() {
    // Saves the metafile left open must not stay on the caller's stack.
    for (; depth_ > 0; --depth_) canvas_.restore_state();
  }

  void reset_state() {
    const CanvasState defaults;
    const CanvasState& now = canvas_.state();
    if (now.pen != s_.pen(defaults.pen)) canvas_.set_pen(s_.pen(defaults.pen));
    if (now.brush != defaults.brush) canvas_.set_brush(defaults.brush);
    if (now.font != s_.font(defaults.font)) canvas_.set_font(s_.font(defaults.font));
    if (now.text_color != defaults.text_color) canvas_.set_text_color(defaults.text_color);
    if (now.bk_mode != defaults.bk_mode) canvas_.set_bk_mode(defaults.bk_mode);
    if (now.bk_color != defaults.bk_color) canvas_.set_bk_color(defaults.bk_color);
    if (now.char_extra != 0) canvas_.set_text_char_extra(0);
    if (now.break_count != 0) canvas_.set_text_justification(0, 0);
  }

  void operator()(const mf::SetPen& r) { canvas_.set_pen(s_.pen(r.pen)); }
  void operator()(const mf::SetBrush& r) { canvas_.set_brush(r.brush); }
  void operator()(const mf::SetFont& r) { canvas_.set_font(s_.font(r.font)); }
  void operator()(const mf::SetTextColor& r) { canvas_.set_text_color(r.color); }
  void operator()(const mf::SetBkMode& r) { canvas_.set_bk_mode(r.mode); }
  void operator()(const mf::SetBkColor& r) { canvas_.set_bk_color(r.color); }
  void operator()(const mf::SetCharExtra& r) { canvas_.set_text_char_extra(s_.dx(r.extra)); }
  void operator()(const mf::SetJustification& r) {
    canvas_.set_text_justification(s_.dx(r.break_extra), r.break_count);
  }
  void operator()(const mf::SaveState&) {
    canvas_.save_state();
    ++depth_;
  }
  void operator()(const mf::RestoreState&) {
    if (depth_ == 0) return;  // would pop a state of the caller's
    canvas_.restore_state();
    --depth_;
  }
  void operator()(const mf::IntersectClipRect& r) { canvas_.intersect_clip_rect(s_.rect(r.rect)); }
  void operator()(const mf::IntersectClipRegion& r) {
    canvas_.intersect_clip_region(s_.region(r.region));
  }
  void operator()(const mf::MoveTo& r) { canvas_.move_to(s_.point(r.point)); }
  void operator()(const mf::LineTo& r) { canvas_.line_to(s_.point(r.point)); }
  void operator()(const mf::Polyline& r) { canvas_.polyline(s_.points(r.points)); }
  void operator()(const mf::Rectangle& r) { canvas_.rectangle(s_.rect(r.rect)); }
  void operator()(const mf::FillRect& r) { canvas_.fill_rect(s_.rect(r.rect)); }
  void operator()(const mf::Ellipse& r) { canvas_.ellipse(s_.rect(r.rect)); }
  void operator()(const mf::RoundRect& r) {
    canvas_.round_rect(s_.rect(r.rect), s_.dx(r.corner_width), s_.dy(r.corner_height));
  }
  void operator()(const mf::Polygon& r) { canvas_.polygon(s_.points(r.points)); }
  void operator()(const mf::FloodFill& r) {
    canvas_.flood_fill(s_.point(r.start), r.color, r.type);
  }
  void operator()(const mf::TextOut& r) {
    TextOutParams params;
    if (r.rect) params.rect = s_.rect(*r.rect);
    params.clipped = r.clipped;
    params.opaque = r.opaque;
    params.rtl_reading = r.rtl_reading;
    // Scaled, the recorded layout keeps the text in proportion whatever the font does.
    std::vector<int> advances =
        s_.advances(!r.advances.empty() || s_.identity() ? r.advances : r.widths);
    params.advances = advances;
    canvas_.text_out(s_.point(r.origin), r.text, params);
  }
  void operator()(const mf::StretchDraw& r) { canvas_.stretch_draw(s_.rect(r.dest), *r.bitmap); }

 private:
  Canvas& canvas_;
  const Scaler& s_;
  int depth_ = 0;
};

}  // namespace

void Metafile::play(Canvas& canvas, const Rect& target) const {
  if (frame_.empty() || target.empty()) return;
  Scaler scale(frame_, target);
  CanvasStateSaver saver(canvas);
  Player player(canvas, scale);
  player.reset_state();
  for (const mf::Record& record : records_) std::visit(player, record);
}

std::vector<MetafileText> Metafile::texts() const {
  std::vector<MetafileText> out;
  for (size_t i = 0; i < records_.size(); ++i) {
    if (const auto* text = std::get_if<mf::TextOut>(&records_[i]))
      out.push_back({i, text->text, text->origin, text->bounds});
  }
  return out;
}

}  // namespace zr
