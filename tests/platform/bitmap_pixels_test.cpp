#include <cstring>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/graphics/bitmap.h"

namespace zr {
namespace {

TEST(BitmapPixels, SizeLimits) {
  EXPECT_TRUE(Bitmap(0, 0).empty());
  EXPECT_TRUE(Bitmap(5, 0).empty());
  EXPECT_THROW(Bitmap(-1, 4), ZorelError);
  EXPECT_THROW(Bitmap(Bitmap::kMaxSide + 1, 1), ZorelError);
  EXPECT_THROW(Bitmap(Bitmap::kMaxSide, Bitmap::kMaxSide), ZorelError);  // > 2^28 pixels
  EXPECT_TRUE(Bitmap::size_allowed(16384, 16384));
  EXPECT_FALSE(Bitmap::size_allowed(16384, 16385));
}

TEST(BitmapPixels, LayoutIsCairoArgb32) {
  Bitmap b(2, 1);
  b.set_color(1, 0, 0x0000FF);  // the system's red: red in the low byte
  EXPECT_EQ(b.stride(), 8);
  EXPECT_EQ(b.pixel(1, 0), 0xFFFF0000u);
  uint32_t word;
  std::memcpy(&word, b.data() + 4, 4);  // native endian, as cairo reads it
  EXPECT_EQ(word, 0xFFFF0000u);
}

TEST(BitmapPixels, ColourAndAlphaRoundTrip) {
  struct Case {
    uint32_t color;
    uint8_t alpha;
    Argb pixel;
    uint32_t back;  // premultiplication loses precision at low alpha
  };
  const Case cases[] = {
      {0x336699, 255, 0xFF996633, 0x336699},
      {0xFFFFFF, 128, 0x80808080, 0xFFFFFF},
      {0x0000FF, 0, 0x00000000, 0x000000},
      {0x102030, 1, 0x01000000, 0x000000},
  };
  for (const Case& c : cases) {
    Bitmap b(1, 1);
    b.set_color(0, 0, c.color, c.alpha);
    EXPECT_EQ(b.pixel(0, 0), c.pixel) << std::hex << c.color;
    EXPECT_EQ(b.color(0, 0), c.back) << std::hex << c.color;
    EXPECT_EQ(b.alpha(0, 0), c.alpha);
  }
  EXPECT_EQ(color_over_white(argb_from_color(0x000000, 128)), 0x7F7F7Fu);
  EXPECT_EQ(color_over_white(kTransparent), 0xFFFFFFu);
}

TEST(BitmapPixels, CheckedAccessRaises) {
  Bitmap b(3, 2);
  EXPECT_THROW(b.pixel(3, 0), ZorelError);
  EXPECT_THROW(b.set_pixel(0, -1, 0), ZorelError);
}

TEST(BitmapPixels, FillRectCropAndCopyClip) {
  Bitmap b(4, 3, argb_from_color(0xFFFFFF));
  b.fill_rect(-2, 1, 4, 10, argb_from_color(0));  // clipped to columns 0-1, rows 1-2
  EXPECT_EQ(b.color(1, 2), 0u);
  EXPECT_EQ(b.color(2, 2), 0xFFFFFFu);
  EXPECT_EQ(b.color(1, 0), 0xFFFFFFu);

  Bitmap part = b.crop(1, 1, 10, 10);
  EXPECT_EQ(part.width(), 3);
  EXPECT_EQ(part.height(), 2);
  EXPECT_EQ(part.color(0, 0), 0u);
  EXPECT_EQ(part.color(1, 0), 0xFFFFFFu);
  EXPECT_TRUE(b.crop(10, 10, 2, 2).empty());

  Bitmap target(3, 3);
  target.copy_from(b, -1, 0, 3, 3, 1, 1);  // source column -1 is cut, destination moves by 1
  EXPECT_EQ(target.pixel(0, 0), kTransparent);
  EXPECT_EQ(target.pixel(1, 1), kTransparent);
  EXPECT_EQ(target.color(2, 2), 0u);  // b(0, 1)
  EXPECT_EQ(target.alpha(2, 2), 255);

  // Overlapping copy inside one bitmap behaves as if from a snapshot.
  Bitmap row(4, 1);
  for (int x = 0; x < 4; ++x) row.set_color(x, 0, x);
  row.copy_from(row, 0, 0, 3, 1, 1, 0);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(row.color(x, 0), x == 0 ? 0u : uint32_t(x - 1));
}

TEST(BitmapPixels, OpaqueAndEquality) {
  Bitmap a(2, 2, argb_from_color(0x123456));
  EXPECT_TRUE(a.is_opaque());
  Bitmap b = a;
  EXPECT_EQ(a, b);
  b.set_color(1, 1, 0x123456, 200);
  EXPECT_FALSE(b.is_opaque());
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace zr
