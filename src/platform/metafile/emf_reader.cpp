#include <cmath>
#include <map>

#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/metafile/metafile_builder.h"
#include "platform/metafile/metafile_format.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/metafile/record_layout.h"
#include "platform/rounding.h"

namespace zr {

namespace {

using GdiObject = std::variant<Pen, Brush, FontSelection>;

Color colorref(uint32_t value) {
  return Color(value & 0x00FFFFFF);
}

PenStyle pen_style(uint32_t style) {
  uint32_t s = style & gdi::kPsStyleMask;
  return s <= static_cast<uint32_t>(PenStyle::Clear) ? static_cast<PenStyle>(s) : PenStyle::Solid;
}

Brush brush_of(uint32_t style, uint32_t color, uint32_t hatch) {
  if (style == gdi::kBsNull) return {colorref(color), BrushStyle::Clear, {}};
  if (style == gdi::kBsHatched) {
    auto h = hatch <= static_cast<uint32_t>(HatchStyle::DiagCross) ? static_cast<HatchStyle>(hatch)
                                                                   : HatchStyle::Horizontal;
    return Brush::hatch(h, colorref(color));
  }
  return Brush::solid(colorref(color));
}

// What GetStockObject hands out, by index.
std::optional<GdiObject> stock_object(uint32_t index) {
  switch (index) {
    case 0:
      return Brush::solid(kWhite);
    case 1:
      return Brush::solid(Color::rgb(192, 192, 192));
    case 2:
      return Brush::solid(Color::rgb(128, 128, 128));
    case 3:
      return Brush::solid(Color::rgb(64, 64, 64));
    case 4:
      return Brush::solid(kBlack);
    case 5:
      return Brush::clear();
    case 6:
      return Pen{kWhite, 1, PenStyle::Solid};
    case 7:
      return Pen{kBlack, 1, PenStyle::Solid};
    case 8:
      return Pen{kBlack, 1, PenStyle::Clear};
    default:
      if (index >= 10 && index <= 17) return CanvasState{}.font;
      return std::nullopt;
  }
}

// ANSI text from the characters of a text record, with each character's advance summed from
// the advances of the units it came from.
void convert_wide(std::u16string_view text, const std::vector<int>& dx, std::string& out,
                  std::vector<int>& widths) {
  for (size_t i = 0; i < text.size();) {
    size_t n = (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
    if (text[i] < 0x80) {
      out += static_cast<char>(text[i]);  // ASCII: the same in every code page
    } else {
      out += utf16_to_ansi(text.substr(i, n));
    }
    if (!dx.empty()) widths.push_back(character_advance(dx, i, n));
    i += n;
  }
}

class EmfReader {
 public:
  EmfReader(std::string_view bytes, const std::string& name)
      : bytes_(bytes), file_(bytes, name), builder_({}, {}) {}

  Metafile read() {
    read_header();
    size_t count = 0;
    for (;;) {
      if (file_.position() >= end_) file_.fail("Enhanced metafile ends without EMR_EOF");
      size_t at = file_.position();
      uint32_t type = file_.read_u32();
      uint32_t size = file_.read_u32();
      if (size < 8 || size % 4 != 0 || size > end_ - at)
        file_.fail("Invalid enhanced metafile record size " + std::to_string(size));
      if (++count > kMaxMetafileRecords) file_.fail("Too many records in enhanced metafile");
      if (type == emr::kEof) break;
      ByteReader record(bytes_.substr(at, size), file_.name() + " record at " + std::to_string(at));
      record.seek(8);
      read_record(type, record);
      file_.seek(at + size);
    }
    return builder_.take();
  }

 private:
  void read_header() {
    if (file_.size() < 88 || file_.read_u32() != emr::kHeader)
      file_.fail("Not an enhanced metafile");
    uint32_t header_size = file_.read_u32();
    file_.seek(8);
    Rect bounds = read_rect(file_);
    Rect frame = read_rect(file_);
    if (file_.read_u32() != emr::kSignature) file_.fail("Not an enhanced metafile");
    file_.read_u32();  // version
    uint32_t total = file_.read_u32();
    if (header_size < 88 || header_size % 4 != 0 || header_size > file_.size())
      file_.fail("Invalid enhanced metafile header size");
    if (total < header_size || total > file_.size())
      file_.fail("Enhanced metafile is shorter than its header says");
    end_ = total;
    file_.seek(72);
    int64_t device_x = file_.read_i32(), device_y = file_.read_i32();
    int64_t mm_x = file_.read_i32(), mm_y = file_.read_i32();
    int64_t um_x = 0, um_y = 0;
    if (header_size >= 108) {
      file_.seek(100);
      um_x = file_.read_i32();
      um_y = file_.read_i32();
    }
    Resolution res{dpi(device_x, mm_x, um_x), dpi(device_y, mm_y, um_y)};
    auto px = [](int64_t units, int d) { return round_half_even_to_int(units * d / 2540.0); };
    Rect pixels{px(frame.left, res.x), px(frame.top, res.y), px(frame.right, res.x),
                px(frame.bottom, res.y)};
    if (pixels.empty())
      pixels = rect_from_size(bounds.left, bounds.top, int64_t{bounds.right} - bounds.left + 1,
                              int64_t{bounds.bottom} - bounds.top + 1);
    builder_ = MetafileBuilder(pixels, res);
    file_.seek(header_size);
  }

  static int dpi(int64_t device, int64_t mm, int64_t um) {
    double d = 96;
    if (device > 0 && um > 0) {
      d = device * 25400.0 / um;
    } else if (device > 0 && mm > 0) {
      d = device * 25.4 / mm;
    }
    return std::clamp(round_half_even_to_int(d), 1, 100000);
  }

  static Rect read_rect(ByteReader& r) {
    int l = r.read_i32(), t = r.read_i32(), rr = r.read_i32(), b = r.read_i32();
    return {l, t, rr, b};
  }
  static Point read_point(ByteReader& r) {
    int x = r.read_i32();
    int y = r.read_i32();
    return {x, y};
  }
  // A count of items of `item_size` bytes that must fit in what is left of the record.
  static size_t read_count(ByteReader& r, size_t item_size) {
    uint32_t n = r.read_u32();
    if (n > r.remaining() / item_size) r.fail("Count larger than its record");
    return n;
  }

  void read_record(uint32_t type, ByteReader& r) {
    switch (type) {
      case emr::kCreatePen: {
        uint32_t slot = r.read_u32();
        PenStyle style = pen_style(r.read_u32());
        int width = r.read_i32();
        r.read_i32();
        store(slot, Pen{colorref(r.read_u32()), width, style});
        break;
      }
      case emr::kExtCreatePen: {
        uint32_t slot = r.read_u32();
        r.skip(16);  // brush bitmap
        PenStyle style = pen_style(r.read_u32());
        int width = static_cast<int>(std::min<uint32_t>(r.read_u32(), 0x7FFFFFFF));
        uint32_t brush_style = r.read_u32();
        Color color = colorref(r.read_u32());
        if (brush_style == gdi::kBsNull) style = PenStyle::Clear;
        store(slot, Pen{color, width, style});
        break;
      }
      case emr::kCreateBrushIndirect: {
        uint32_t slot = r.read_u32();
        uint32_t style = r.read_u32(), color = r.read_u32(), hatch = r.read_u32();
        store(slot, brush_of(style, color, hatch));
        break;
      }
      case emr::kExtCreateFontIndirectW: {
        uint32_t slot = r.read_u32();
        FontSelection font;
        font.height = r.read_i32();
        font.width = r.read_i32();
        font.escapement = r.read_i32();
        r.read_i32();  // orientation
        int weight = r.read_i32();
        uint8_t italic = r.read_u8(), underline = r.read_u8(), strike = r.read_u8();
        font.charset = r.read_u8();
        r.skip(4);
        font.style =
            static_cast<uint8_t>((weight >= 600 ? kFsBold : 0) | (italic ? kFsItalic : 0) |
                                 (underline ? kFsUnderline : 0) | (strike ? kFsStrikeOut : 0));
        std::u16string face;
        for (int i = 0; i < gdi::kFaceNameChars; ++i) {
          char16_t c = r.read_u16();
          if (c == 0) break;
          face.push_back(c);
        }
        font.name = utf16_to_ansi(face);
        store(slot, font);
        break;
      }
      case emr::kSelectObject:
        select(r.read_u32());
        break;
      case emr::kDeleteObject:
        objects_.erase(r.read_u32());
        break;
      case emr::kSetTextColor:
        builder_.set_text_color(colorref(r.read_u32()));
        break;
      case emr::kSetBkColor:
        builder_.set_bk_color(colorref(r.read_u32()));
        break;
      case emr::kSetBkMode: {
        uint32_t mode = r.read_u32();
        if (mode == 1 || mode == 2) builder_.set_bk_mode(static_cast<BkMode>(mode));
        break;
      }
      case emr::kSaveDc:
        builder_.save();
        break;
      case emr::kRestoreDc: {
        int64_t relative = r.read_i32();
        builder_.restore(relative < 0 ? -relative : builder_.depth() - relative + 1);
        break;
      }
      case emr::kIntersectClipRect:
        builder_.add(mf::IntersectClipRect{read_rect(r)});
        break;
      case emr::kExtSelectClipRgn:
        read_clip_region(r);
        break;
      case emr::kMoveToEx:
        builder_.add(mf::MoveTo{read_point(r)});
        break;
      case emr::kLineTo:
        builder_.add(mf::LineTo{read_point(r)});
        break;
      case emr::kRectangle:
        builder_.add(mf::Rectangle{read_rect(r)});
        break;
      case emr::kEllipse:
        builder_.add(mf::Ellipse{read_rect(r)});
        break;
      case emr::kRoundRect: {
        Rect box = read_rect(r);
        int w = r.read_i32();
        builder_.add(mf::RoundRect{box, w, r.read_i32()});
        break;
      }
      case emr::kPolyline16:
      case emr::kPolygon16:
      case emr::kPolyline:
      case emr::kPolygon:
        read_poly(type, r);
        break;
      case emr::kExtFloodFill: {
        Point p = read_point(r);
        Color color = colorref(r.read_u32());
        uint32_t mode = r.read_u32();
        builder_.add(
            mf::FloodFill{p, color, mode == 1 ? FloodFillType::Surface : FloodFillType::Border});
        break;
      }
      case emr::kExtTextOutW:
      case emr::kExtTextOutA:
        read_text(type == emr::kExtTextOutW, r);
        break;
      case emr::kBitBlt:
        read_bitblt(r);
        break;
      case emr::kStretchDiBits:
        read_stretch_dibits(r);
        break;
      default:
        break;  // not drawn by us
    }
  }

  void store(uint32_t slot, GdiObject object) {
    if (objects_.size() >= kMaxMetafileObjects && !objects_.count(slot))
      file_.fail("Too many objects in enhanced metafile");
    objects_[slot] = std::move(object);
  }

  void select(uint32_t handle) {
    std::optional<GdiObject> object;
    if (handle & emr::kStockObject) {
      object = stock_object(handle & ~emr::kStockObject);
    } else if (auto it = objects_.find(handle); it != objects_.end()) {
      object = it->second;
    }
    if (!object) return;
    if (auto* pen = std::get_if<Pen>(&*object)) builder_.set_pen(*pen);
    if (auto* brush = std::get_if<Brush>(&*object)) builder_.set_brush(*brush);
    if (auto* font = std::get_if<FontSelection>(&*object)) builder_.set_font(*font);
  }

  void read_clip_region(ByteReader& r) {
    uint32_t data_size = r.read_u32();
    uint32_t mode = r.read_u32();
    if (mode != gdi::kRgnAnd || data_size < 32) return;
    r.skip(8);  // header size, type
    size_t count = r.read_u32();
    r.skip(4 + 16);  // region size, bounds
    if (count > r.remaining() / 16) r.fail("Count larger than its record");
    Region region;
    for (size_t i = 0; i < count; ++i) region.add(read_rect(r));
    builder_.add(mf::IntersectClipRegion{region});
  }

  void read_poly(uint32_t type, ByteReader& r) {
    bool wide = type == emr::kPolyline || type == emr::kPolygon;
    r.skip(16);  // bounds
    size_t n = read_count(r, wide ? 8 : 4);
    std::vector<Point> points;
    points.reserve(n);
    for (size_t i = 0; i < n; ++i) {
      if (wide) {
        points.push_back(read_point(r));
      } else {
        int x = r.read_i16();
        points.push_back({x, r.read_i16()});
      }
    }
    if (type == emr::kPolyline16 || type == emr::kPolyline) {
      builder_.add(mf::Polyline{std::move(points)});
    } else {
      builder_.add(mf::Polygon{std::move(points)});
    }
  }

  void read_text(bool wide, ByteReader& r) {
    Rect bounds = read_rect(r);
    r.skip(12);  // graphics mode, scales
    mf::TextOut text;
    text.origin = read_point(r);
    uint32_t chars = r.read_u32();
    uint32_t string_at = r.read_u32();
    uint32_t options = r.read_u32();
    Rect rect = read_rect(r);
    uint32_t dx_at = r.read_u32();
    size_t unit = wide ? 2 : 1;
    if (chars > r.size() / unit || string_at > r.size() - chars * unit)
      r.fail("Text runs past its record");
    bool has_dx = dx_at != 0;
    if (has_dx && (chars > r.size() / 4 || dx_at > r.size() - chars * 4))
      r.fail("Advances run past their record");
    std::vector<int> dx;
    if (has_dx) {
      r.seek(dx_at);
      for (uint32_t i = 0; i < chars; ++i) dx.push_back(r.read_i32());
    }
    r.seek(string_at);
    if (wide) {
      std::u16string units;
      for (uint32_t i = 0; i < chars; ++i) units.push_back(r.read_u16());
      convert_wide(units, dx, text.text, text.widths);
    } else {
      text.text = r.read_bytes(chars);
      for (size_t pos = 0; pos < text.text.size() && has_dx;) {
        size_t n = char_length(text.text, pos);
        text.widths.push_back(character_advance(dx, pos, n));
        pos += n;
      }
    }
    text.advances = text.widths;
    text.opaque = options & gdi::kEtoOpaque;
    text.clipped = options & gdi::kEtoClipped;
    text.rtl_reading = options & gdi::kEtoRtlReading;
    if (!(rect == Rect{0, 0, -1, -1}) && (rect != Rect{} || text.opaque || text.clipped))
      text.rect = rect;
    text.bounds = text_bounds(bounds, text);
    builder_.add(std::move(text));
  }

  Rect text_bounds(const Rect& inclusive, const mf::TextOut& text) const {
    if (inclusive.right >= inclusive.left && inclusive.bottom >= inclusive.top)
      return rect_from_size(inclusive.left, inclusive.top,
                            int64_t{inclusive.right} - inclusive.left + 1,
                            int64_t{inclusive.bottom} - inclusive.top + 1);
    // No bounds recorded: the advances and the font's height tell.
    int64_t width = 0;
    for (int w : text.widths) width += w;
    int height = std::abs(builder_.state().font.height);
    return rect_from_size(text.origin.x, text.origin.y,
                          static_cast<int>(std::clamp<int64_t>(width, 0, 1 << 24)),
                          height ? height : 12)
        .normalized();
  }

  void read_bitblt(ByteReader& r) {
    r.skip(16);  // bounds
    int x = r.read_i32(), y = r.read_i32(), cx = r.read_i32(), cy = r.read_i32();
    uint32_t rop = r.read_u32();
    r.skip(8 + 24 + 4 + 4);  // source origin, transform, background, usage
    uint32_t bmi_at = r.read_u32(), bmi_size = r.read_u32();
    uint32_t bits_at = r.read_u32(), bits_size = r.read_u32();
    Rect dest = rect_from_size(x, y, cx, cy);
    if (bits_size == 0) {
      if (rop == gdi::kPatCopy) builder_.add(mf::FillRect{dest});
      return;
    }
    add_bitmap(r, dest, bmi_at, bmi_size, bits_at, bits_size);
  }

  void read_stretch_dibits(ByteReader& r) {
    r.skip(16);  // bounds
    int x = r.read_i32(), y = r.read_i32();
    r.skip(16);  // source rectangle: the whole bitmap is drawn
    uint32_t bmi_at = r.read_u32(), bmi_size = r.read_u32();
    uint32_t bits_at = r.read_u32(), bits_size = r.read_u32();
    r.skip(8);  // usage, raster operation
    int cx = r.read_i32();
    int cy = r.read_i32();
    add_bitmap(r, rect_from_size(x, y, cx, cy), bmi_at, bmi_size, bits_at, bits_size);
  }

  void add_bitmap(ByteReader& r, const Rect& dest, uint32_t bmi_at, uint32_t bmi_size,
                  uint32_t bits_at, uint32_t bits_size) {
    auto inside = [&r](uint32_t at, uint32_t size) {
      return at <= r.size() && size <= r.size() - at;
    };
    if (!inside(bmi_at, bmi_size) || !inside(bits_at, bits_size))
      r.fail("Bitmap runs past its record");
    std::string_view record = bytes_of(r);
    auto bitmap = read_dib(record.substr(bmi_at, bmi_size), record.substr(bits_at, bits_size), r);
    if (bitmap) builder_.add(mf::StretchDraw{dest, std::move(bitmap)});
  }

  std::string_view bytes_of(const ByteReader& r) const {
    // The record reader's bytes: the file's, at the record's start.
    size_t at = file_.position() - 8;
    return bytes_.substr(at, r.size());
  }

  std::string_view bytes_;
  ByteReader file_;
  size_t end_ = 0;
  MetafileBuilder builder_;
  std::map<uint32_t, GdiObject> objects_;
};

}  // namespace

Metafile read_emf(std::string_view bytes, const std::string& name) {
  return EmfReader(bytes, name).read();
}

}  // namespace zr
