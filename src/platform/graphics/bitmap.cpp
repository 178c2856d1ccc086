#include "platform/graphics/bitmap.h"

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

#include "platform/errors.h"

namespace zr {

namespace {

// x * a / 255 rounded to nearest, exact for all 8-bit inputs.
uint8_t mul_div_255(unsigned x, unsigned a) {
  unsigned t = x * a + 128;
  return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

struct Span {
  int from;
  int to;  // exclusive
};

// The part of [start, start + length) inside [0, limit).
Span clip(int64_t start, int64_t length, int limit) {
  int64_t from = std::max<int64_t>(start, 0);
  int64_t to = std::min<int64_t>(start + std::max<int64_t>(length, 0), limit);
  if (to < from) to = from;
  return {static_cast<int>(from), static_cast<int>(to)};
}

}  // namespace

Argb argb_from_channels(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  if (alpha != 255) {
    red = mul_div_255(red, alpha);
    green = mul_div_255(green, alpha);
    blue = mul_div_255(blue, alpha);
  }
  return (Argb{alpha} << 24) | (Argb{red} << 16) | (Argb{green} << 8) | blue;
}

Argb argb_from_color(uint32_t color, uint8_t alpha) {
  return argb_from_channels(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, alpha);
}

uint32_t color_from_argb(Argb pixel) {
  unsigned a = alpha_of(pixel);
  unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  if (a == 0) return 0;
  if (a != 255) {
    r = std::min(255u, (r * 255 + a / 2) / a);
    g = std::min(255u, (g * 255 + a / 2) / a);
    b = std::min(255u, (b * 255 + a / 2) / a);
  }
  return r | (g << 8) | (b << 16);
}

uint32_t color_over_white(Argb pixel) {
  // Premultiplied: over white each channel gains the uncovered part.
  unsigned cover = 255 - alpha_of(pixel);
  unsigned r = ((pixel >> 16) & 0xFF) + cover, g = ((pixel >> 8) & 0xFF) + cover,
           b = (pixel & 0xFF) + cover;
  return std::min(r, 255u) | (std::min(g, 255u) << 8) | (std::min(b, 255u) << 16);
}

bool Bitmap::size_allowed(int64_t width, int64_t height) {
  return width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

Bitmap::Bitmap(int width, int height, Argb fill) {
  if (!size_allowed(width, height))
    throw ZorelError(
        "Bitmap size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range",
        ErrorKind::Argument);
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * height, fill);
}

Argb Bitmap::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw ZorelError("Pixel outside the bitmap", ErrorKind::Argument);
  return row(y)[x];
}

void Bitmap::set_pixel(int x, int y, Argb pixel) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw ZorelError("Pixel outside the bitmap", ErrorKind::Argument);
  row(y)[x] = pixel;
}

void Bitmap::fill(Argb pixel) {
  std::fill(pixels_.begin(), pixels_.end(), pixel);
}

void Bitmap::fill_rect(int x, int y, int width, int height, Argb pixel) {
  Span xs = clip(x, width, width_), ys = clip(y, height, height_);
  for (int row_y = ys.from; row_y < ys.to; ++row_y)
    std::fill(row(row_y) + xs.from, row(row_y) + xs.to, pixel);
}

Bitmap Bitmap::crop(int x, int y, int width, int height) const {
  Span xs = clip(x, width, width_), ys = clip(y, height, height_);
  Bitmap result(xs.to - xs.from, ys.to - ys.from);
  result.copy_from(*this, xs.from, ys.from, result.width_, result.height_, 0, 0);
  return result;
}

void Bitmap::copy_from(const Bitmap& src, int src_x, int src_y, int width, int height, int dst_x,
                       int dst_y) {
  if (&src == this) {
    Bitmap copy = src;
    copy_from(copy, src_x, src_y, width, height, dst_x, dst_y);
    return;
  }
  // Clip the source rectangle, then move the destination by what was cut off.
  Span sx = clip(src_x, width, src.width_), sy = clip(src_y, height, src.height_);
  int64_t dx0 = int64_t{dst_x} + (sx.from - int64_t{src_x});
  int64_t dy0 = int64_t{dst_y} + (sy.from - int64_t{src_y});
  Span dx = clip(dx0, sx.to - sx.from, width_), dy = clip(dy0, sy.to - sy.from, height_);
  int columns = dx.to - dx.from;
  for (int y = dy.from; y < dy.to; ++y) {
    const Argb* from = src.row(static_cast<int>(sy.from + (y - dy0))) + (sx.from + (dx.from - dx0));
    std::memcpy(row(y) + dx.from, from, static_cast<size_t>(columns) * sizeof(Argb));
  }
}

bool Bitmap::is_opaque() const {
  return std::all_of(pixels_.begin(), pixels_.end(), [](Argb p) { return alpha_of(p) == 255; });
}

std::ostream& operator<<(std::ostream& out, const Bitmap& bitmap) {
  return out << "Bitmap " << bitmap.width() << "x" << bitmap.height();
}

}  // namespace zr
