#include "platform/metafile/emf_writer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>

#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/metafile/metafile_format.h"
#include "platform/metafile/object_table.h"
#include "platform/metafile/record_layout.h"
#include "platform/rounding.h"

namespace zr {

namespace {

constexpr int kHeaderSize = 108;  // with szlMicrometers

class EmfWriter {
 public:
  explicit EmfWriter(const Metafile& m) : m_(m), objects_(1) {}

  std::string write() {
    write_header();
    // GDI's default font is the system font; ours is the canvas default.
    select_font(CanvasState{}.font);
    for (const mf::Record& record : m_.records()) std::visit(*this, record);
    begin(emr::kEof);
    w_.write_u32(0);   // palette entries
    w_.write_u32(16);  // their offset
    w_.write_u32(20);  // this record's size, repeated
    end();
    finish_header();
    return w_.take();
  }

  void operator()(const mf::SetPen& r) {
    int slot = objects_.create();
    begin(emr::kCreatePen);
    w_.write_u32(slot);
    Pen pen = r.pen;
    bool null = !pen.visible();
    w_.write_u32(null ? static_cast<uint32_t>(PenStyle::Clear) : static_cast<uint32_t>(pen.style));
    w_.write_i32(pen.width);
    w_.write_i32(0);
    w_.write_u32(plain(pen.color));
    end();
    select(GdiObjectKind::Pen, slot);
  }
  void operator()(const mf::SetBrush& r) {
    int slot = objects_.create();
    begin(emr::kCreateBrushIndirect);
    w_.write_u32(slot);
    auto hatch = gdi::hatch_of(r.brush);
    if (!r.brush.visible()) {
      w_.write_u32(gdi::kBsNull);
    } else {
      w_.write_u32(hatch ? gdi::kBsHatched : gdi::kBsSolid);
    }
    w_.write_u32(plain(r.brush.color));
    w_.write_u32(hatch ? static_cast<uint32_t>(*hatch) : 0);
    end();
    select(GdiObjectKind::Brush, slot);
  }
  void operator()(const mf::SetFont& r) { select_font(r.font); }
  void operator()(const mf::SetTextColor& r) { color_record(emr::kSetTextColor, r.color); }
  void operator()(const mf::SetBkColor& r) { color_record(emr::kSetBkColor, r.color); }
  void operator()(const mf::SetBkMode& r) {
    begin(emr::kSetBkMode);
    w_.write_u32(static_cast<uint32_t>(r.mode));
    end();
  }
  // Carried by the text records' advances.
  void operator()(const mf::SetCharExtra&) {}
  void operator()(const mf::SetJustification&) {}
  void operator()(const mf::SaveState&) {
    objects_.save();
    begin(emr::kSaveDc);
    end();
  }
  void operator()(const mf::RestoreState&) {
    std::vector<int> freed;
    if (!objects_.restore(freed)) return;  // nothing saved: GDI would refuse it
    begin(emr::kRestoreDc);
    w_.write_i32(-1);
    end();
    for (int slot : freed) delete_object(slot);
  }
  void operator()(const mf::IntersectClipRect& r) {
    begin(emr::kIntersectClipRect);
    write_rect(r.rect);
    end();
  }
  void operator()(const mf::IntersectClipRegion& r) {
    const auto& rects = r.region.rects();
    begin(emr::kExtSelectClipRgn);
    w_.write_u32(static_cast<uint32_t>(32 + 16 * rects.size()));
    w_.write_u32(gdi::kRgnAnd);
    w_.write_u32(32);  // RGNDATAHEADER
    w_.write_u32(1);   // RDH_RECTANGLES
    w_.write_u32(static_cast<uint32_t>(rects.size()));
    w_.write_u32(static_cast<uint32_t>(16 * rects.size()));
    write_rect(r.region.bounds());
    for (const Rect& rect : rects) write_rect(rect);
    end();
  }
  void operator()(const mf::MoveTo& r) { point_record(emr::kMoveToEx, r.point); }
  void operator()(const mf::LineTo& r) { point_record(emr::kLineTo, r.point); }
  void operator()(const mf::Polyline& r) { poly(emr::kPolyline16, emr::kPolyline, r.points); }
  void operator()(const mf::Polygon& r) { poly(emr::kPolygon16, emr::kPolygon, r.points); }
  void operator()(const mf::Rectangle& r) { box_record(emr::kRectangle, r.rect); }
  void operator()(const mf::Ellipse& r) { box_record(emr::kEllipse, r.rect); }
  void operator()(const mf::RoundRect& r) {
    begin(emr::kRoundRect);
    write_rect(r.rect);
    w_.write_i32(r.corner_width);
    w_.write_i32(r.corner_height);
    end();
  }
  void operator()(const mf::FillRect& r) {
    Rect rect = r.rect.normalized();
    begin(emr::kBitBlt);
    write_bounds(rect);
    w_.write_i32(rect.left);
    w_.write_i32(rect.top);
    w_.write_i32(rect.width());
    w_.write_i32(rect.height());
    w_.write_u32(gdi::kPatCopy);
    w_.write_i32(0);  // source origin
    w_.write_i32(0);
    for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) write_float(f);  // source transform
    for (int i = 0; i < 6; ++i) w_.write_u32(0);                          // no source bitmap
    end();
  }
  void operator()(const mf::FloodFill& r) {
    begin(emr::kExtFloodFill);
    w_.write_i32(r.start.x);
    w_.write_i32(r.start.y);
    w_.write_u32(plain(r.color));
    w_.write_u32(static_cast<uint32_t>(r.type));
    end();
  }
  void operator()(const mf::TextOut& r) {
    // One UTF-16 unit per ANSI character keeps the advances aligned with the characters.
    std::u16string text;
    std::vector<int> dx;
    int code_page = kDefaultAnsiCodePage;
    size_t index = 0;
    for (size_t pos = 0; pos < r.text.size(); ++index) {
      size_t length = char_length(r.text, pos, code_page);
      std::string_view ch = std::string_view(r.text).substr(pos, length);
      // ASCII is the same in every code page: no converter for the common case.
      std::u16string unit = static_cast<unsigned char>(ch[0]) < 0x80
                                ? std::u16string(1, static_cast<char16_t>(ch[0]))
                                : ansi_to_utf16(ch, code_page);
      pos += length;
      int advance = index < r.widths.size() ? r.widths[index] : 0;
      for (size_t k = 0; k < unit.size(); ++k) {
        text.push_back(unit[k]);
        dx.push_back(k == 0 ? advance : 0);
      }
    }
    size_t string_bytes = align4(text.size() * 2);
    begin(emr::kExtTextOutW);
    write_bounds(r.bounds);
    w_.write_u32(1);  // GM_COMPATIBLE
    write_float(0);
    write_float(0);
    w_.write_i32(r.origin.x);
    w_.write_i32(r.origin.y);
    w_.write_u32(static_cast<uint32_t>(text.size()));
    w_.write_u32(76);  // the string follows the fixed part
    w_.write_u32(options(r));
    if (r.rect) {
      write_rect(*r.rect);
    } else {
      write_rect({0, 0, -1, -1});
    }
    w_.write_u32(static_cast<uint32_t>(76 + string_bytes));
    for (char16_t c : text) w_.write_u16(c);
    pad();
    for (int d : dx) w_.write_i32(d);
    end();
  }
  void operator()(const mf::StretchDraw& r) {
    const Bitmap& b = *r.bitmap;
    Rect dest = r.dest;
    uint32_t bits_size = static_cast<uint32_t>(b.width()) * b.height() * 4;
    begin(emr::kStretchDiBits);
    write_bounds(dest.normalized());
    w_.write_i32(dest.left);
    w_.write_i32(dest.top);
    w_.write_i32(0);  // source origin
    w_.write_i32(0);
    w_.write_i32(b.width());
    w_.write_i32(b.height());
    w_.write_u32(80);  // the BITMAPINFOHEADER follows the fixed part
    w_.write_u32(40);
    w_.write_u32(120);
    w_.write_u32(bits_size);
    w_.write_u32(0);  // DIB_RGB_COLORS
    w_.write_u32(gdi::kSrcCopy);
    w_.write_i32(dest.width());
    w_.write_i32(dest.height());
    write_dib(w_, b);
    end();
  }

 private:
  static uint32_t plain(Color c) { return c.resolved().value_or(0); }
  static size_t align4(size_t n) { return (n + 3) & ~size_t{3}; }
  static uint32_t options(const mf::TextOut& r) {
    return (r.opaque ? gdi::kEtoOpaque : 0) | (r.clipped ? gdi::kEtoClipped : 0) |
           (r.rtl_reading ? gdi::kEtoRtlReading : 0);
  }

  void begin(uint32_t type) {
    start_ = w_.position();
    w_.write_u32(type);
    w_.write_u32(0);  // size, patched by end()
  }
  void end() {
    pad();
    size_t size = w_.position() - start_;
    w_.patch_u32(start_ + 4, static_cast<uint32_t>(size));
    ++records_;
  }
  void pad() {
    while (w_.position() % 4 != 0) w_.write_u8(0);
  }
  void write_float(float f) {
    uint32_t bits;
    static_assert(sizeof bits == sizeof f);
    std::memcpy(&bits, &f, sizeof bits);
    w_.write_u32(bits);
  }
  void write_rect(const Rect& r) {
    w_.write_i32(r.left);
    w_.write_i32(r.top);
    w_.write_i32(r.right);
    w_.write_i32(r.bottom);
  }
  // EMF bounds include their right and bottom edge.
  void write_bounds(const Rect& r) {
    if (r.empty()) {
      write_rect({0, 0, -1, -1});
    } else {
      write_rect({r.left, r.top, r.right - 1, r.bottom - 1});
    }
  }
  void color_record(uint32_t type, Color c) {
    begin(type);
    w_.write_u32(plain(c));
    end();
  }
  void point_record(uint32_t type, Point p) {
    begin(type);
    w_.write_i32(p.x);
    w_.write_i32(p.y);
    end();
  }
  void box_record(uint32_t type, const Rect& r) {
    begin(type);
    write_rect(r);
    end();
  }
  void poly(uint32_t type16, uint32_t type32, const std::vector<Point>& points) {
    auto fits = [](Point p) {
      return p.x >= INT16_MIN && p.x <= INT16_MAX && p.y >= INT16_MIN && p.y <= INT16_MAX;
    };
    bool small = std::all_of(points.begin(), points.end(), fits);
    begin(small ? type16 : type32);
    write_bounds(points_bounds(points));
    w_.write_u32(static_cast<uint32_t>(points.size()));
    for (Point p : points) {
      if (small) {
        w_.write_i16(static_cast<int16_t>(p.x));
        w_.write_i16(static_cast<int16_t>(p.y));
      } else {
        w_.write_i32(p.x);
        w_.write_i32(p.y);
      }
    }
    end();
  }
  void select_font(const FontSelection& font) {
    int slot = objects_.create();
    begin(emr::kExtCreateFontIndirectW);
    w_.write_u32(slot);
    w_.write_i32(font.height);
    w_.write_i32(font.width);
    w_.write_i32(font.escapement);
    w_.write_i32(font.escapement);  // orientation
    w_.write_i32(font.bold() ? gdi::kFwBold : gdi::kFwNormal);
    w_.write_u8(font.italic());
    w_.write_u8(font.underline());
    w_.write_u8(font.strike_out());
    w_.write_u8(font.charset);
    w_.write_u32(0);  // precisions, quality, pitch and family
    std::u16string face = ansi_to_utf16(font.name);
    face.resize(gdi::kFaceNameChars - 1);
    for (char16_t c : face) w_.write_u16(c);
    w_.write_u16(0);
    // The rest of LOGFONTPANOSE: full name, style, version fields, vendor, culture, PANOSE.
    for (int i = 0; i < 228; ++i) w_.write_u8(0);
    end();
    select(GdiObjectKind::Font, slot);
  }
  void select(GdiObjectKind kind, int slot) {
    begin(emr::kSelectObject);
    w_.write_u32(slot);
    end();
    int old = objects_.select(kind, slot);
    if (old != ObjectTable::kStock) delete_object(old);
  }
  void delete_object(int slot) {
    begin(emr::kDeleteObject);
    w_.write_u32(slot);
    end();
  }

  void write_header() {
    const Rect& f = m_.frame();
    Resolution res = m_.resolution();
    begin(emr::kHeader);
    write_bounds(f);
    auto mm100 = [](int px, int dpi) { return round_half_even_to_int(px * 2540.0 / dpi); };
    w_.write_i32(mm100(f.left, res.x));
    w_.write_i32(mm100(f.top, res.y));
    w_.write_i32(mm100(f.right, res.x));
    w_.write_i32(mm100(f.bottom, res.y));
    w_.write_u32(emr::kSignature);
    w_.write_u32(emr::kVersion);
    w_.write_u32(0);  // bytes, patched
    w_.write_u32(0);  // records, patched
    w_.write_u16(0);  // handles, patched
    w_.write_u16(0);
    w_.write_u32(0);  // no description
    w_.write_u32(0);
    w_.write_u32(0);  // no palette
    // A reference device of 254 mm, in which every pixel maps exactly.
    w_.write_i32(res.x * 10);
    w_.write_i32(res.y * 10);
    w_.write_i32(254);
    w_.write_i32(254);
    w_.write_u32(0);  // no pixel format
    w_.write_u32(0);
    w_.write_u32(0);  // no OpenGL
    w_.write_i32(254000);
    w_.write_i32(254000);
    end();
  }
  void finish_header() {
    w_.patch_u32(48, static_cast<uint32_t>(w_.position()));
    w_.patch_u32(52, records_);
    int handles = std::min(objects_.slots_needed(), 0xFFFF);
    std::string bytes = w_.take();
    bytes[56] = static_cast<char>(handles & 0xFF);
    bytes[57] = static_cast<char>(handles >> 8);
    w_.write_bytes(bytes);
  }

  const Metafile& m_;
  ObjectTable objects_;
  ByteWriter w_;
  size_t start_ = 0;
  uint32_t records_ = 0;
};

}  // namespace

std::string write_emf(const Metafile& metafile) {
  if (metafile.frame().empty())
    throw ZorelError("A metafile needs a frame to be written", ErrorKind::Argument);
  static_assert(kHeaderSize == 108);
  return EmfWriter(metafile).write();
}

}  // namespace zr
