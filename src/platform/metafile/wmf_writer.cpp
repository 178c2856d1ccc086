#include "platform/metafile/wmf_writer.h"

#include <algorithm>

#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/metafile/metafile_format.h"
#include "platform/metafile/object_table.h"
#include "platform/metafile/record_layout.h"

namespace zr {

namespace {

constexpr size_t kPlaceableSize = 22;
constexpr size_t kMaxPoints = 32767;

int16_t c16(int v) {
  return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

class WmfWriter {
 public:
  explicit WmfWriter(const Metafile& m) : m_(m), objects_(0) {}

  std::string write() {
    write_headers();
    const Rect& f = m_.frame();
    begin(wmf::kSetWindowOrg);
    w_.write_i16(c16(f.top));
    w_.write_i16(c16(f.left));
    end();
    begin(wmf::kSetWindowExt);
    w_.write_i16(c16(f.height()));
    w_.write_i16(c16(f.width()));
    end();
    select_font(CanvasState{}.font);
    for (const mf::Record& record : m_.records()) std::visit(*this, record);
    begin(wmf::kEof);
    end();
    finish_headers();
    return w_.take();
  }

  void operator()(const mf::SetPen& r) {
    int slot = objects_.create();
    begin(wmf::kCreatePenIndirect);
    bool null = !r.pen.visible();
    w_.write_u16(static_cast<uint16_t>(null ? PenStyle::Clear : r.pen.style));
    w_.write_i16(c16(r.pen.width));
    w_.write_i16(0);
    w_.write_u32(plain(r.pen.color));
    end();
    select(GdiObjectKind::Pen, slot);
  }
  void operator()(const mf::SetBrush& r) {
    int slot = objects_.create();
    auto hatch = gdi::hatch_of(r.brush);
    begin(wmf::kCreateBrushIndirect);
    w_.write_u16(!r.brush.visible() ? gdi::kBsNull : hatch ? gdi::kBsHatched : gdi::kBsSolid);
    w_.write_u32(plain(r.brush.color));
    w_.write_u16(hatch ? static_cast<uint16_t>(*hatch) : 0);
    end();
    select(GdiObjectKind::Brush, slot);
  }
  void operator()(const mf::SetFont& r) { select_font(r.font); }
  void operator()(const mf::SetTextColor& r) { color_record(wmf::kSetTextColor, r.color); }
  void operator()(const mf::SetBkColor& r) { color_record(wmf::kSetBkColor, r.color); }
  void operator()(const mf::SetBkMode& r) {
    begin(wmf::kSetBkMode);
    w_.write_u16(static_cast<uint16_t>(r.mode));
    w_.write_u16(0);
    end();
  }
  // Carried by the text records' advances.
  void operator()(const mf::SetCharExtra&) {}
  void operator()(const mf::SetJustification&) {}
  void operator()(const mf::SaveState&) {
    objects_.save();
    begin(wmf::kSaveDc);
    end();
  }
  void operator()(const mf::RestoreState&) {
    std::vector<int> freed;
    if (!objects_.restore(freed)) return;  // nothing saved: GDI would refuse it
    begin(wmf::kRestoreDc);
    w_.write_i16(-1);
    end();
    for (int slot : freed) delete_object(slot);
  }
  void operator()(const mf::IntersectClipRect& r) { box(wmf::kIntersectClipRect, r.rect); }
  void operator()(const mf::IntersectClipRegion& r) {
    box(wmf::kIntersectClipRect, r.region.bounds());
  }
  void operator()(const mf::MoveTo& r) { point_record(wmf::kMoveTo, r.point); }
  void operator()(const mf::LineTo& r) { point_record(wmf::kLineTo, r.point); }
  void operator()(const mf::Polyline& r) { poly(wmf::kPolyline, r.points); }
  void operator()(const mf::Polygon& r) { poly(wmf::kPolygon, r.points); }
  void operator()(const mf::Rectangle& r) { box(wmf::kRectangle, r.rect); }
  void operator()(const mf::Ellipse& r) { box(wmf::kEllipse, r.rect); }
  void operator()(const mf::RoundRect& r) {
    begin(wmf::kRoundRect);
    w_.write_i16(c16(r.corner_height));
    w_.write_i16(c16(r.corner_width));
    write_box(r.rect);
    end();
  }
  void operator()(const mf::FillRect& r) {
    Rect rect = r.rect.normalized();
    begin(wmf::kPatBlt);
    w_.write_u32(gdi::kPatCopy);
    w_.write_i16(c16(rect.height()));
    w_.write_i16(c16(rect.width()));
    w_.write_i16(c16(rect.top));
    w_.write_i16(c16(rect.left));
    end();
  }
  void operator()(const mf::FloodFill& r) {
    begin(wmf::kExtFloodFill);
    w_.write_u16(static_cast<uint16_t>(r.type));
    w_.write_u32(plain(r.color));
    w_.write_i16(c16(r.start.y));
    w_.write_i16(c16(r.start.x));
    end();
  }
  void operator()(const mf::TextOut& r) {
    std::string_view text = std::string_view(r.text).substr(0, 0x7FFF);
    uint16_t options = static_cast<uint16_t>((r.opaque ? gdi::kEtoOpaque : 0) |
                                             (r.clipped ? gdi::kEtoClipped : 0) |
                                             (r.rtl_reading ? gdi::kEtoRtlReading : 0));
    begin(wmf::kExtTextOut);
    w_.write_i16(c16(r.origin.y));
    w_.write_i16(c16(r.origin.x));
    w_.write_i16(static_cast<int16_t>(text.size()));
    w_.write_u16(options);
    if (options & (gdi::kEtoOpaque | gdi::kEtoClipped)) {
      Rect rect = r.rect.value_or(Rect{});
      w_.write_i16(c16(rect.left));
      w_.write_i16(c16(rect.top));
      w_.write_i16(c16(rect.right));
      w_.write_i16(c16(rect.bottom));
    }
    w_.write_bytes(text);
    if (text.size() % 2) w_.write_u8(0);
    size_t index = 0;
    for (size_t pos = 0; pos < text.size(); ++index) {
      size_t length = char_length(text, pos);
      w_.write_i16(c16(index < r.widths.size() ? r.widths[index] : 0));
      if (length == 2) w_.write_i16(0);
      pos += length;
    }
    end();
  }
  void operator()(const mf::StretchDraw& r) {
    const Bitmap& b = *r.bitmap;
    begin(wmf::kStretchDib);
    w_.write_u32(gdi::kSrcCopy);
    w_.write_u16(0);  // DIB_RGB_COLORS
    w_.write_i16(c16(b.height()));
    w_.write_i16(c16(b.width()));
    w_.write_i16(0);  // source origin
    w_.write_i16(0);
    w_.write_i16(c16(r.dest.height()));
    w_.write_i16(c16(r.dest.width()));
    w_.write_i16(c16(r.dest.top));
    w_.write_i16(c16(r.dest.left));
    write_dib(w_, b, 24);
    end();
  }

 private:
  static uint32_t plain(Color c) { return c.resolved().value_or(0); }

  void begin(uint16_t function) {
    start_ = w_.position();
    w_.write_u32(0);  // size in words, patched by end()
    w_.write_u16(function);
  }
  void end() {
    if (w_.position() % 2) w_.write_u8(0);
    size_t words = (w_.position() - start_) / 2;
    w_.patch_u32(start_, static_cast<uint32_t>(words));
    max_record_ = std::max(max_record_, words);
  }
  void write_box(const Rect& r) {
    w_.write_i16(c16(r.bottom));
    w_.write_i16(c16(r.right));
    w_.write_i16(c16(r.top));
    w_.write_i16(c16(r.left));
  }
  void box(uint16_t function, const Rect& r) {
    begin(function);
    write_box(r);
    end();
  }
  void point_record(uint16_t function, Point p) {
    begin(function);
    w_.write_i16(c16(p.y));
    w_.write_i16(c16(p.x));
    end();
  }
  void color_record(uint16_t function, Color c) {
    begin(function);
    w_.write_u32(plain(c));
    end();
  }
  void poly(uint16_t function, const std::vector<Point>& points) {
    size_t n = std::min(points.size(), kMaxPoints);
    begin(function);
    w_.write_i16(static_cast<int16_t>(n));
    for (size_t i = 0; i < n; ++i) {
      w_.write_i16(c16(points[i].x));
      w_.write_i16(c16(points[i].y));
    }
    end();
  }
  void select_font(const FontSelection& font) {
    int slot = objects_.create();
    begin(wmf::kCreateFontIndirect);
    w_.write_i16(c16(font.height));
    w_.write_i16(c16(font.width));
    w_.write_i16(c16(font.escapement));
    w_.write_i16(c16(font.escapement));
    w_.write_i16(static_cast<int16_t>(font.bold() ? gdi::kFwBold : gdi::kFwNormal));
    w_.write_u8(font.italic());
    w_.write_u8(font.underline());
    w_.write_u8(font.strike_out());
    w_.write_u8(font.charset);
    w_.write_u32(0);  // precisions, quality, pitch and family
    std::string face = font.name.substr(0, gdi::kFaceNameChars - 1);
    if (face.size() == gdi::kFaceNameChars - 1 && face.size() >= 1 &&
        is_lead_byte(static_cast<unsigned char>(face.back())))
      face.pop_back();  // never half a character
    w_.write_bytes(face);
    w_.write_u8(0);
    end();
    select(GdiObjectKind::Font, slot);
  }
  void select(GdiObjectKind kind, int slot) {
    begin(wmf::kSelectObject);
    w_.write_u16(static_cast<uint16_t>(slot));
    end();
    int old = objects_.select(kind, slot);
    if (old != ObjectTable::kStock) delete_object(old);
  }
  void delete_object(int slot) {
    begin(wmf::kDeleteObject);
    w_.write_u16(static_cast<uint16_t>(slot));
    end();
  }

  void write_headers() {
    const Rect& f = m_.frame();
    w_.write_u32(wmf::kPlaceableKey);
    w_.write_u16(0);
    w_.write_i16(c16(f.left));
    w_.write_i16(c16(f.top));
    w_.write_i16(c16(f.right));
    w_.write_i16(c16(f.bottom));
    w_.write_u16(static_cast<uint16_t>(std::clamp(m_.resolution().x, 1, 0xFFFF)));
    w_.write_u32(0);
    uint16_t checksum = 0;
    const std::string& b = w_.bytes();
    for (size_t i = 0; i < 20; i += 2)
      checksum ^=
          static_cast<uint16_t>(static_cast<uint8_t>(b[i]) | (static_cast<uint8_t>(b[i + 1]) << 8));
    w_.write_u16(checksum);
    w_.write_u16(1);  // in memory
    w_.write_u16(9);  // header words
    w_.write_u16(0x0300);
    w_.write_u32(0);  // size in words, patched
    w_.write_u16(0);  // objects, patched
    w_.write_u32(0);  // largest record, patched
    w_.write_u16(0);
  }
  void finish_headers() {
    w_.patch_u32(kPlaceableSize + 6, static_cast<uint32_t>((w_.position() - kPlaceableSize) / 2));
    w_.patch_u32(kPlaceableSize + 12, static_cast<uint32_t>(max_record_));
    std::string bytes = w_.take();
    int objects = std::min(objects_.slots_needed(), 0xFFFF);
    bytes[kPlaceableSize + 10] = static_cast<char>(objects & 0xFF);
    bytes[kPlaceableSize + 11] = static_cast<char>(objects >> 8);
    w_.write_bytes(bytes);
  }

  const Metafile& m_;
  ObjectTable objects_;
  ByteWriter w_;
  size_t start_ = 0;
  size_t max_record_ = 0;
};

}  // namespace

std::string write_wmf(const Metafile& metafile) {
  if (metafile.frame().empty())
    throw ZorelError("A metafile needs a frame to be written", ErrorKind::Argument);
  return WmfWriter(metafile).write();
}

}  // namespace zr
