#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/graphics/ico_codec.h"
#include "platform/image_test_support.h"

namespace zr {
namespace {

using test::Bytes;

// An icon DIB: info header with the doubled height, palette, colour rows, AND mask rows,
// all bottom-up.
std::string dib(int w, int h, int bits, const std::vector<uint32_t>& palette,
                const std::string& pixels, const std::string& mask) {
  Bytes d;
  d.u32(40).i32(w).i32(h * 2).u16(1).u16(bits).u32(0).u32(0).i32(0).i32(0);
  d.u32(static_cast<uint32_t>(palette.size())).u32(0);
  for (uint32_t c : palette) d.u8(c >> 16).u8(c >> 8).u8(c).u8(0);
  return d.raw(pixels).raw(mask).data;
}

std::string ico(const std::vector<std::string>& images, uint16_t type = 1) {
  Bytes f;
  f.u16(0).u16(type).u16(static_cast<uint16_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (const std::string& image : images) {
    f.u8(0).u8(0).u8(0).u8(0).u16(1).u16(32).u32(static_cast<uint32_t>(image.size())).u32(offset);
    offset += static_cast<uint32_t>(image.size());
  }
  for (const std::string& image : images) f.raw(image);
  return f.data;
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// 2 x 2, 8-bit: bottom row red, green; top row green, red; the mask clears the top left.
const std::string kSmall = dib(2, 2, 8, {0x0000FF, 0x00FF00}, bytes({0, 1, 0, 0, 1, 0, 0, 0}),
                               bytes({0, 0, 0, 0, 0x80, 0, 0, 0}));

std::string four_by_four_32(uint8_t alpha) {
  std::string pixels;
  for (int i = 0; i < 16; ++i) pixels += bytes({0xFF, 0, 0, alpha});  // blue
  return dib(4, 4, 32, {}, pixels, bytes({0xF0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

const std::string kPng = "\x89PNG\r\n\x1A\n" + std::string(40, '\0');

TEST(IcoCodec, ReadsTheMaskOfAPaletteIcon) {
  Bitmap bitmap = decode_ico(ico({kSmall}));
  ASSERT_EQ(bitmap.width(), 2);
  ASSERT_EQ(bitmap.height(), 2);
  EXPECT_EQ(bitmap.pixel(0, 0), kTransparent);
  EXPECT_EQ(bitmap.color(1, 0), 0x0000FFu);
  EXPECT_EQ(bitmap.color(0, 1), 0x0000FFu);
  EXPECT_EQ(bitmap.color(1, 1), 0x00FF00u);
}

TEST(IcoCodec, ChoosesTheLargestImageThatIsNotPng) {
  const std::string file = ico({kSmall, kPng, four_by_four_32(0x80)}, 2);  // a cursor file
  EXPECT_EQ(read_ico_size(file), (ImageSize{4, 4}));
  Bitmap bitmap = decode_ico(file);
  EXPECT_EQ(bitmap.width(), 4);
  EXPECT_EQ(bitmap.alpha(0, 3), 0x80);  // alpha present: the mask is not used
  EXPECT_EQ(bitmap.color(0, 3), 0xFF0000u);
}

TEST(IcoCodec, ThirtyTwoBitWithoutAlphaUsesTheMask) {
  Bitmap bitmap = decode_ico(ico({four_by_four_32(0)}));
  EXPECT_EQ(bitmap.pixel(0, 3), kTransparent);  // mask bit set in the bottom row
  EXPECT_EQ(bitmap.pixel(3, 3), kTransparent);
  EXPECT_EQ(bitmap.pixel(0, 0), argb_from_color(0xFF0000));  // kept its colour, opaque
}

TEST(IcoCodec, RefusesWhatItCannotDraw) {
  try {
    decode_ico(ico({kPng}));
    ADD_FAILURE() << "PNG-only icon decoded";
  } catch (const FormatError& e) {
    EXPECT_NE(std::string(e.what()).find("PNG"), std::string::npos);
  }
  std::string out_of_range = ico({kSmall});
  out_of_range[18] = '\x7F';  // offset of the only entry far past the end
  const std::string cases[] = {
      "",
      bytes({0, 0, 1, 0}),
      bytes({0, 0, 3, 0, 1, 0}),
      bytes({0, 0, 1, 0, 0, 0}),
      ico({kSmall}).substr(0, 20),
      out_of_range,
      ico({kSmall.substr(0, 44)}),
  };
  for (const std::string& file : cases) EXPECT_THROW(decode_ico(file), FormatError) << file.size();
}

}  // namespace
}  // namespace zr
