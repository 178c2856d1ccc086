#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "platform/graphics/color_palette.h"

namespace zr {
namespace {

TEST(BitmapPalette, FewColoursGiveAnExactSortedPalette) {
  std::vector<uint32_t> colors = {0x00FF00, 0x0000FF, 0x00FF00, 0xFF0000, 0x0000FF};
  ColorPalette p = ColorPalette::build(colors, 256);
  EXPECT_TRUE(p.exact());
  EXPECT_EQ(p.colors(), (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0xFF0000}));
  for (uint32_t c : colors) EXPECT_EQ(p.colors()[p.index_of(c)], c);
}

TEST(BitmapPalette, ManyColoursAreCutToTheLimitDeterministically) {
  std::vector<uint32_t> colors;
  for (uint32_t r = 0; r < 256; r += 8)
    for (uint32_t g = 0; g < 256; g += 16) colors.push_back(r | (g << 8) | (0x40 << 16));
  ASSERT_GT(colors.size(), 256u);
  ColorPalette p = ColorPalette::build(colors, 16);
  EXPECT_FALSE(p.exact());
  EXPECT_EQ(p.size(), 16);

  std::vector<uint32_t> shuffled = colors;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  EXPECT_EQ(ColorPalette::build(shuffled, 16).colors(), p.colors());

  // Every colour maps to a reasonably near entry: 16 boxes over a 32 x 16 grid.
  for (uint32_t c : colors) {
    uint32_t e = p.colors()[p.index_of(c)];
    for (int shift : {0, 8, 16})
      EXPECT_LE(std::abs(int((c >> shift) & 0xFF) - int((e >> shift) & 0xFF)), 80) << std::hex << c;
  }
}

TEST(BitmapPalette, TwoClustersKeepBothColours) {
  std::vector<uint32_t> colors(1000, 0x000000);
  for (uint32_t i = 0; i < 300; ++i)
    colors.push_back(0xF0F0F0 + (i % 16) * 0x010101);  // near white
  ColorPalette p = ColorPalette::build(colors, 2);
  EXPECT_EQ(p.colors()[p.index_of(0x000000)], 0x000000u);
  EXPECT_GE(p.colors()[p.index_of(0xFFFFFF)] & 0xFF, 0xF0u);
}

}  // namespace
}  // namespace zr
