#pragma once
// A raster image of 32-bit pixels, the picture type every codec decodes into and every
// raster canvas draws on.
//
// Pixel layout: premultiplied ARGB in a native-endian uint32_t (alpha in bits 24-31, then
// red, green, and blue in the low byte). That is cairo's CAIRO_FORMAT_ARGB32, so a cairo
// image surface can wrap data() with stride() without any conversion; on little-endian
// machines the bytes in memory read B, G, R, A. Rows run top to bottom with no padding.
//
// The system's own colour values (red in the low byte, green, blue above it) are what the
// colour accessors take and give; system colours (0x80000000 + n) and "no fill" must be
// resolved by the caller, the high byte is ignored here.

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace zr {

// One premultiplied ARGB32 pixel.
using Argb = uint32_t;

inline constexpr Argb kTransparent = 0;

// The pixel for a colour value (red in the low byte) at the given opacity.
Argb argb_from_color(uint32_t color, uint8_t alpha = 255);
// The colour value of a pixel with the premultiplication undone; 0 for a transparent pixel.
uint32_t color_from_argb(Argb pixel);
inline uint8_t alpha_of(Argb pixel) {
  return static_cast<uint8_t>(pixel >> 24);
}
// The pixel from straight (not premultiplied) channels.
Argb argb_from_channels(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255);
// The colour value of the pixel drawn over white: what formats without alpha store.
uint32_t color_over_white(Argb pixel);

class Bitmap {
 public:
  // cairo refuses image surfaces with a side above 32767; the pixel limit keeps one bitmap
  // within 1 GiB.
  static constexpr int kMaxSide = 32767;
  static constexpr int64_t kMaxPixels = int64_t{1} << 28;

  Bitmap() = default;
  // A width x height bitmap filled with `fill`. Raises ZorelError (Argument) for a negative
  // side, a side above kMaxSide or more than kMaxPixels pixels.
  Bitmap(int width, int height, Argb fill = kTransparent);

  // Whether a bitmap of this size may be created (the test the constructor makes).
  static bool size_allowed(int64_t width, int64_t height);

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return width_ * 4; }  // bytes from one row to the next
  bool empty() const { return width_ == 0 || height_ == 0; }

  // Raw access for codecs and canvases; y must be in 0..height()-1 (not checked).
  Argb* row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Argb* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint8_t* data() { return reinterpret_cast<uint8_t*>(pixels_.data()); }
  const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(pixels_.data()); }

  // Checked pixel access: raises ZorelError (Argument) outside the bitmap.
  Argb pixel(int x, int y) const;
  void set_pixel(int x, int y, Argb pixel);
  uint32_t color(int x, int y) const { return color_from_argb(pixel(x, y)); }
  uint8_t alpha(int x, int y) const { return alpha_of(pixel(x, y)); }
  void set_color(int x, int y, uint32_t color, uint8_t alpha = 255) {
    set_pixel(x, y, argb_from_color(color, alpha));
  }

  void fill(Argb pixel);
  // Fills the part of the rectangle that lies inside the bitmap.
  void fill_rect(int x, int y, int width, int height, Argb pixel);
  // A copy of the part of the rectangle that lies inside the bitmap (empty when none does).
  Bitmap crop(int x, int y, int width, int height) const;
  // Replaces (does not blend) pixels: src's rectangle at (src_x, src_y) is copied to
  // (dst_x, dst_y), clipped to both bitmaps. `src` may be this bitmap.
  void copy_from(const Bitmap& src, int src_x, int src_y, int width, int height, int dst_x,
                 int dst_y);
  // True when every pixel has alpha 255 (an empty bitmap is opaque).
  bool is_opaque() const;

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Argb> pixels_;
};

// "Bitmap 3x2", for test failure messages.
std::ostream& operator<<(std::ostream& out, const Bitmap& bitmap);

}  // namespace zr
