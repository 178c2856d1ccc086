#include <cstdlib>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/metafile/metafile_builder.h"
#include "platform/metafile/metafile_format.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/metafile/record_layout.h"

namespace zr {

namespace {

constexpr size_t kPlaceableSize = 22;

// Records that create an object we do not draw with still take a slot of the table.
constexpr uint16_t kCreatePalette = 0x00F7;
constexpr uint16_t kCreatePatternBrush = 0x01F9;
constexpr uint16_t kDibCreatePatternBrush = 0x0142;
constexpr uint16_t kCreateRegion = 0x06FF;
constexpr uint16_t kDibStretchBlt = 0x0B41;

using GdiObject = std::variant<std::monostate, Pen, Brush, FontSelection>;

Color colorref(uint32_t value) {
  return Color(value & 0x00FFFFFF);
}

class WmfReader {
 public:
  WmfReader(std::string_view bytes, const std::string& name)
      : bytes_(bytes), file_(bytes, name), builder_({}, {}) {}

  Metafile read() {
    read_headers();
    size_t count = 0;
    for (;;) {
      size_t at = file_.position();
      if (file_.remaining() < 6) file_.fail("Windows metafile ends without META_EOF");
      uint64_t words = file_.read_u32();
      uint16_t function = file_.read_u16();
      if (words < 3 || words > (file_.size() - at) / 2)
        file_.fail("Invalid Windows metafile record size " + std::to_string(words));
      if (++count > kMaxMetafileRecords) file_.fail("Too many records in Windows metafile");
      if (function == wmf::kEof) break;
      ByteReader record(bytes_.substr(at, words * 2),
                        file_.name() + " record at " + std::to_string(at));
      record.seek(6);
      read_record(function, record);
      file_.seek(at + words * 2);
    }
    apply_window();
    return builder_.take();
  }

 private:
  // The window records name the logical coordinates the placeable box shows: they become
  // the frame, so playback maps them onto the box's place. Flipped windows are not followed.
  void apply_window() {
    if (!window_ext_ || window_ext_->x <= 0 || window_ext_->y <= 0) return;
    const Metafile& m = builder_.metafile();
    Rect frame = rect_from_size(window_org_.x, window_org_.y, window_ext_->x, window_ext_->y);
    int64_t box_width = std::max(m.frame().width(), 1);
    int64_t box_height = std::max(m.frame().height(), 1);
    Resolution res{static_cast<int>(std::clamp<int64_t>(
                       int64_t{m.resolution().x} * window_ext_->x / box_width, 1, 100000)),
                   static_cast<int>(std::clamp<int64_t>(
                       int64_t{m.resolution().y} * window_ext_->y / box_height, 1, 100000))};
    builder_.set_frame(frame, res);
  }

  void read_headers() {
    if (file_.size() < kPlaceableSize + 18 || file_.read_u32() != wmf::kPlaceableKey)
      file_.fail("Not a placeable Windows metafile");
    file_.read_u16();
    int left = file_.read_i16(), top = file_.read_i16();
    int right = file_.read_i16(), bottom = file_.read_i16();
    int inch = file_.read_u16();
    file_.skip(6);  // reserved, checksum
    uint16_t type = file_.read_u16(), header_words = file_.read_u16();
    if (inch == 0) file_.fail("Placeable metafile has no units per inch");
    if ((type != 1 && type != 2) || header_words != 9)
      file_.fail("Invalid Windows metafile header");
    file_.read_u16();  // version
    file_.read_u32();  // size
    object_slots_ = file_.read_u16();
    file_.skip(6);
    builder_ = MetafileBuilder(Rect{left, top, right, bottom}.normalized(), {inch, inch});
  }

  static Rect read_box(ByteReader& r) {  // bottom, right, top, left
    int b = r.read_i16(), rr = r.read_i16(), t = r.read_i16(), l = r.read_i16();
    return {l, t, rr, b};
  }
  static Point read_yx(ByteReader& r) {
    int y = r.read_i16();
    return {r.read_i16(), y};
  }

  void read_record(uint16_t function, ByteReader& r) {
    switch (function) {
      case wmf::kCreatePenIndirect: {
        uint16_t style = r.read_u16();
        int width = r.read_i16();
        r.read_i16();
        Color color = colorref(r.read_u32());
        uint32_t s = style & gdi::kPsStyleMask;
        create(Pen{color, width,
                   s <= static_cast<uint32_t>(PenStyle::Clear) ? static_cast<PenStyle>(s)
                                                               : PenStyle::Solid});
        break;
      }
      case wmf::kCreateBrushIndirect: {
        uint16_t style = r.read_u16();
        Color color = colorref(r.read_u32());
        uint16_t hatch = r.read_u16();
        if (style == gdi::kBsNull) {
          create(Brush{color, BrushStyle::Clear, {}});
        } else if (style == gdi::kBsHatched) {
          create(Brush::hatch(hatch <= static_cast<uint16_t>(HatchStyle::DiagCross)
                                  ? static_cast<HatchStyle>(hatch)
                                  : HatchStyle::Horizontal,
                              color));
        } else {
          create(Brush::solid(color));
        }
        break;
      }
      case wmf::kCreateFontIndirect:
        create(read_font(r));
        break;
      case kCreatePalette:
      case kCreatePatternBrush:
      case kDibCreatePatternBrush:
      case kCreateRegion:
        create(std::monostate{});
        break;
      case wmf::kSelectObject:
        select(r.read_u16());
        break;
      case wmf::kDeleteObject: {
        uint16_t slot = r.read_u16();
        if (slot < objects_.size()) objects_[slot].reset();
        break;
      }
      case wmf::kSetTextColor:
        builder_.set_text_color(colorref(r.read_u32()));
        break;
      case wmf::kSetBkColor:
        builder_.set_bk_color(colorref(r.read_u32()));
        break;
      case wmf::kSetBkMode: {
        uint16_t mode = r.read_u16();
        if (mode == 1 || mode == 2) builder_.set_bk_mode(static_cast<BkMode>(mode));
        break;
      }
      case wmf::kSaveDc:
        builder_.save();
        break;
      case wmf::kRestoreDc: {
        int64_t relative = r.read_i16();
        builder_.restore(relative < 0 ? -relative : builder_.depth() - relative + 1);
        break;
      }
      case wmf::kIntersectClipRect:
        builder_.add(mf::IntersectClipRect{read_box(r)});
        break;
      case wmf::kSetWindowOrg:
        window_org_ = read_yx(r);
        break;
      case wmf::kSetWindowExt:
        window_ext_ = read_yx(r);
        break;
      case wmf::kMoveTo:
        builder_.add(mf::MoveTo{read_yx(r)});
        break;
      case wmf::kLineTo:
        builder_.add(mf::LineTo{read_yx(r)});
        break;
      case wmf::kRectangle:
        builder_.add(mf::Rectangle{read_box(r)});
        break;
      case wmf::kEllipse:
        builder_.add(mf::Ellipse{read_box(r)});
        break;
      case wmf::kRoundRect: {
        int h = r.read_i16();
        int w = r.read_i16();
        builder_.add(mf::RoundRect{read_box(r), w, h});
        break;
      }
      case wmf::kPolyline:
      case wmf::kPolygon: {
        int n = r.read_i16();
        if (n < 0 || static_cast<size_t>(n) > r.remaining() / 4)
          r.fail("Count larger than its record");
        std::vector<Point> points;
        points.reserve(n);
        for (int i = 0; i < n; ++i) {
          int x = r.read_i16();
          points.push_back({x, r.read_i16()});
        }
        if (function == wmf::kPolyline) {
          builder_.add(mf::Polyline{std::move(points)});
        } else {
          builder_.add(mf::Polygon{std::move(points)});
        }
        break;
      }
      case wmf::kPatBlt: {
        uint32_t rop = r.read_u32();
        int h = r.read_i16(), w = r.read_i16(), y = r.read_i16(), x = r.read_i16();
        if (rop == gdi::kPatCopy) builder_.add(mf::FillRect{rect_from_size(x, y, w, h)});
        break;
      }
      case wmf::kExtFloodFill: {
        uint16_t mode = r.read_u16();
        Color color = colorref(r.read_u32());
        builder_.add(mf::FloodFill{read_yx(r), color,
                                   mode == 1 ? FloodFillType::Surface : FloodFillType::Border});
        break;
      }
      case wmf::kTextOut: {
        int n = r.read_i16();
        if (n < 0 || static_cast<size_t>(n) > r.remaining()) r.fail("Text runs past its record");
        mf::TextOut text;
        text.text = r.read_bytes(n);
        if (n % 2) r.skip(1);
        text.origin = read_yx(r);
        finish_text(text);
        break;
      }
      case wmf::kExtTextOut:
        read_ext_text(r);
        break;
      case wmf::kStretchDib:
        read_bitmap(r, true);
        break;
      case kDibStretchBlt:
        read_bitmap(r, false);
        break;
      default:
        break;  // not drawn by us
    }
  }

  FontSelection read_font(ByteReader& r) {
    FontSelection font;
    font.height = r.read_i16();
    font.width = r.read_i16();
    font.escapement = r.read_i16();
    r.read_i16();
    int weight = r.read_i16();
    uint8_t italic = r.read_u8(), underline = r.read_u8(), strike = r.read_u8();
    font.charset = r.read_u8();
    r.skip(4);
    font.style = static_cast<uint8_t>((weight >= 600 ? kFsBold : 0) | (italic ? kFsItalic : 0) |
                                      (underline ? kFsUnderline : 0) | (strike ? kFsStrikeOut : 0));
    std::string face = r.read_bytes(std::min<size_t>(r.remaining(), gdi::kFaceNameChars));
    font.name = face.substr(0, face.find('\0'));
    return font;
  }

  void create(GdiObject object) {
    for (auto& slot : objects_) {
      if (!slot) {
        slot = std::move(object);
        return;
      }
    }
    if (objects_.size() >= kMaxMetafileObjects ||
        objects_.size() >= std::max<size_t>(object_slots_, 1) * 4 + 64)
      file_.fail("Too many objects in Windows metafile");
    objects_.emplace_back(std::move(object));
  }

  void select(uint16_t slot) {
    if (slot >= objects_.size() || !objects_[slot]) return;
    const GdiObject& object = *objects_[slot];
    if (auto* pen = std::get_if<Pen>(&object)) builder_.set_pen(*pen);
    if (auto* brush = std::get_if<Brush>(&object)) builder_.set_brush(*brush);
    if (auto* font = std::get_if<FontSelection>(&object)) builder_.set_font(*font);
  }

  void read_ext_text(ByteReader& r) {
    mf::TextOut text;
    text.origin = read_yx(r);
    int n = r.read_i16();
    uint16_t options = r.read_u16();
    if (n < 0) r.fail("Negative text length");
    if (options & (gdi::kEtoOpaque | gdi::kEtoClipped)) {
      int l = r.read_i16(), t = r.read_i16(), rr = r.read_i16(), b = r.read_i16();
      text.rect = Rect{l, t, rr, b};
    }
    if (static_cast<size_t>(n) > r.remaining()) r.fail("Text runs past its record");
    text.text = r.read_bytes(n);
    if (n % 2 && r.remaining() > 0) r.skip(1);
    if (r.remaining() >= static_cast<size_t>(n) * 2) {
      std::vector<int> dx;
      for (int i = 0; i < n; ++i) dx.push_back(r.read_i16());
      for (size_t pos = 0; pos < text.text.size();) {
        size_t length = char_length(text.text, pos);
        text.widths.push_back(character_advance(dx, pos, length));
        pos += length;
      }
    }
    text.advances = text.widths;
    text.opaque = options & gdi::kEtoOpaque;
    text.clipped = options & gdi::kEtoClipped;
    text.rtl_reading = options & gdi::kEtoRtlReading;
    finish_text(text);
  }

  // WMF keeps no bounds: the advances and the font's height tell.
  void finish_text(mf::TextOut& text) {
    int64_t width = 0;
    for (int w : text.widths) width += w;
    int height = std::abs(builder_.state().font.height);
    Rect bounds = rect_from_size(text.origin.x, text.origin.y,
                                 static_cast<int>(std::clamp<int64_t>(width, 0, 1 << 24)),
                                 height ? height : 12)
                      .normalized();
    if (text.rect && text.opaque) {
      Rect r = text.rect->normalized();
      bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    }
    if (text.rect && text.clipped) bounds = bounds.intersected(text.rect->normalized());
    text.bounds = bounds;
    builder_.add(std::move(text));
  }

  void read_bitmap(ByteReader& r, bool with_usage) {
    r.read_u32();  // raster operation
    if (with_usage) r.read_u16();
    r.skip(8);  // source rectangle: the whole bitmap is drawn
    int h = r.read_i16(), w = r.read_i16(), y = r.read_i16(), x = r.read_i16();
    size_t dib_at = r.position();
    std::string_view dib = bytes_.substr(file_.position() + dib_at - 6, r.size() - dib_at);
    ByteReader header(dib, r.name());
    uint32_t header_size = header.read_u32();
    header.seek(std::min<size_t>(32, dib.size()));
    uint32_t colors = header.remaining() >= 4 ? header.read_u32() : 0;
    if (header_size > dib.size() || colors > 256)
      r.fail("Invalid bitmap header in metafile record");
    size_t bits_at = header_size + colors * 4;
    if (bits_at > dib.size()) r.fail("Invalid bitmap header in metafile record");
    auto bitmap = read_dib(dib.substr(0, bits_at), dib.substr(bits_at), r);
    if (bitmap) builder_.add(mf::StretchDraw{rect_from_size(x, y, w, h), std::move(bitmap)});
  }

  std::string_view bytes_;
  ByteReader file_;
  MetafileBuilder builder_;
  size_t object_slots_ = 0;
  Point window_org_;
  std::optional<Point> window_ext_;
  std::vector<std::optional<GdiObject>> objects_;
};

}  // namespace

Metafile read_wmf(std::string_view bytes, const std::string& name) {
  return WmfReader(bytes, name).read();
}

}  // namespace zr
