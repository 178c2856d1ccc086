#include "platform/metafile/record_layout.h"

#include <algorithm>
#include <cstdlib>

namespace zr {

void write_dib(ByteWriter& out, const Bitmap& bitmap, int bit_count) {
  bool alpha = bit_count == 32;
  uint32_t stride = (static_cast<uint32_t>(bitmap.width()) * (alpha ? 4 : 3) + 3) & ~3u;
  out.write_u32(kDibHeaderSize);
  out.write_i32(bitmap.width());
  out.write_i32(bitmap.height());
  out.write_u16(1);  // planes
  out.write_u16(alpha ? 32 : 24);
  out.write_u32(0);  // BI_RGB
  out.write_u32(stride * bitmap.height());
  for (int i = 0; i < 4; ++i) out.write_u32(0);  // resolution, colours
  for (int y = bitmap.height() - 1; y >= 0; --y) {
    const Argb* row = bitmap.row(y);
    size_t start = out.position();
    for (int x = 0; x < bitmap.width(); ++x) {
      if (alpha) {
        out.write_u32(row[x]);
        continue;
      }
      uint32_t c = color_over_white(row[x]);  // red in the low byte
      out.write_u8(static_cast<uint8_t>(c >> 16));
      out.write_u8(static_cast<uint8_t>(c >> 8));
      out.write_u8(static_cast<uint8_t>(c));
    }
    while (out.position() - start < stride) out.write_u8(0);
  }
}

std::shared_ptr<const Bitmap> read_dib(std::string_view info, std::string_view bits,
                                       const ByteReader& where) {
  ByteReader r(info, where.name());
  uint32_t header_size = r.read_u32();
  if (header_size < kDibHeaderSize || header_size > info.size())
    where.fail("Invalid bitmap header in metafile record");
  int32_t width = r.read_i32();
  int32_t height = r.read_i32();
  r.read_u16();  // planes
  uint16_t bit_count = r.read_u16();
  uint32_t compression = r.read_u32();
  if (compression != 0 || (bit_count != 24 && bit_count != 32)) return nullptr;
  bool top_down = height < 0;
  int64_t rows = std::llabs(static_cast<int64_t>(height));
  if (width <= 0 || rows == 0 || !Bitmap::size_allowed(width, rows))
    where.fail("Invalid bitmap size in metafile record");
  int64_t stride = (static_cast<int64_t>(width) * bit_count + 31) / 32 * 4;
  if (static_cast<int64_t>(bits.size()) < stride * rows)
    where.fail("Bitmap bits shorter than the bitmap in metafile record");
  auto bitmap = std::make_shared<Bitmap>(width, static_cast<int>(rows));
  bool any_alpha = false;
  bool any_color = false;
  for (int64_t y = 0; y < rows; ++y) {
    const auto* src =
        reinterpret_cast<const uint8_t*>(bits.data()) + (top_down ? y : rows - 1 - y) * stride;
    Argb* dst = bitmap->row(static_cast<int>(y));
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = src + x * (bit_count / 8);
      uint8_t alpha = bit_count == 32 ? p[3] : 255;
      any_alpha = any_alpha || alpha != 0;
      any_color = any_color || p[0] != 0 || p[1] != 0 || p[2] != 0;
      dst[x] = (Argb{alpha} << 24) | (Argb{p[2]} << 16) | (Argb{p[1]} << 8) | p[0];
    }
  }
  // Most writers leave the fourth byte 0: such a bitmap is opaque, not invisible.
  if (!any_alpha && any_color) {
    for (int y = 0; y < bitmap->height(); ++y) {
      Argb* row = bitmap->row(y);
      for (int x = 0; x < width; ++x) row[x] |= 0xFF000000;
    }
  }
  return bitmap;
}

namespace {

int saturated(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

Rect rect_from_size(int64_t left, int64_t top, int64_t width, int64_t height) {
  return {saturated(left), saturated(top), saturated(left + width), saturated(top + height)};
}

Rect points_bounds(std::span<const Point> points) {
  if (points.empty()) return {};
  int64_t left = points[0].x, top = points[0].y, right = left, bottom = top;
  for (Point p : points) {
    left = std::min<int64_t>(left, p.x);
    top = std::min<int64_t>(top, p.y);
    right = std::max<int64_t>(right, p.x);
    bottom = std::max<int64_t>(bottom, p.y);
  }
  return {saturated(left), saturated(top), saturated(right + 1), saturated(bottom + 1)};
}

int character_advance(std::span<const int> dx, size_t from, size_t count) {
  int64_t sum = 0;
  for (size_t k = from; k < from + count && k < dx.size(); ++k) sum += dx[k];
  return saturated(sum);
}

}  // namespace zr
