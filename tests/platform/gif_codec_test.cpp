#include <string>
#include <vector>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/graphics/gif_codec.h"
#include "platform/image_test_support.h"

namespace zr {
namespace {

Bitmap sample(int w, int h) {
  Bitmap bitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bitmap.set_color(x, y, (x * 12) | ((y * 25) << 8) | 0x400000);
  return bitmap;
}

int write_string(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
  return length;
}

struct Frame {
  int left, top, width, height;
  bool interlace;
  std::vector<std::vector<GifPixelType>> rows;  // in the order they are stored
};

// A GIF with a 4-colour global table (black, red, green, blue) and the given frames.
std::string craft_gif(int screen_w, int screen_h, const std::vector<Frame>& frames) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write_string, &error);
  ColorMapObject* map = GifMakeMapObject(4, nullptr);
  map->Colors[0] = {0, 0, 0};
  map->Colors[1] = {255, 0, 0};
  map->Colors[2] = {0, 255, 0};
  map->Colors[3] = {0, 0, 255};
  EGifPutScreenDesc(gif, screen_w, screen_h, 8, 0, map);
  for (const Frame& f : frames) {
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, nullptr);
    for (auto row : f.rows) EGifPutLine(gif, row.data(), f.width);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(GifCodec, FewColoursRoundTripExactly) {
  Bitmap original = sample(20, 10);  // 200 colours
  std::string file = encode_gif(original);
  EXPECT_EQ(file.substr(0, 6), "GIF87a");
  EXPECT_EQ(read_gif_size(file), (ImageSize{20, 10}));
  EXPECT_EQ(decode_gif(file), original);
  EXPECT_EQ(encode_gif(original), file);  // deterministic
}

TEST(GifCodec, TransparencyRoundTrips) {
  Bitmap original = sample(16, 16);  // 256 colours: one must give way to the transparent index
  original.set_pixel(3, 4, kTransparent);
  original.set_color(5, 5, 0x00FF00, 100);  // below half: transparent
  original.set_color(6, 6, 0x00FF00, 200);  // above: its colour, opaque
  std::string file = encode_gif(original);
  EXPECT_EQ(file.substr(0, 6), "GIF89a");
  Bitmap back = decode_gif(file);
  EXPECT_EQ(back.pixel(3, 4), kTransparent);
  EXPECT_EQ(back.pixel(5, 5), kTransparent);
  EXPECT_EQ(back.pixel(6, 6), argb_from_color(0x00FF00));
  EXPECT_EQ(back.alpha(0, 0), 255);
}

TEST(GifCodec, ManyColoursAreQuantised) {
  Bitmap original(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      original.set_color(x, y, (x * 4) | ((y * 4) << 8) | ((x ^ y) << 18));
  Bitmap back = decode_gif(encode_gif(original));
  int worst = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int((original.color(x, y) >> shift) & 0xFF) -
                                         int((back.color(x, y) >> shift) & 0xFF)));
  EXPECT_LE(worst, 48);

  Bitmap mono = decode_gif(encode_gif(original, {true}));
  for (int y = 0; y < 64; y += 5)
    for (int x = 0; x < 64; x += 5) {
      uint32_t c = mono.color(x, y);
      EXPECT_TRUE(c == 0 || c == 0xFFFFFF) << std::hex << c;
    }
}

TEST(GifCodec, ReadsFirstInterlacedFrameOnItsScreen) {
  // A 2 x 3 frame at (1, 1) on a 4 x 4 screen, rows stored in interlaced order 0, 2, 1;
  // a second frame that must not be drawn.
  Frame first{1, 1, 2, 3, true, {{1, 1}, {3, 3}, {2, 2}}};
  Frame second{0, 0, 4, 4, false, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}};
  Bitmap bitmap = decode_gif(craft_gif(4, 4, {first, second}));
  ASSERT_EQ(bitmap.width(), 4);
  EXPECT_EQ(bitmap.pixel(0, 0), kTransparent);
  EXPECT_EQ(bitmap.color(1, 1), 0x0000FFu);  // red
  EXPECT_EQ(bitmap.color(2, 2), 0x00FF00u);  // green
  EXPECT_EQ(bitmap.color(2, 3), 0xFF0000u);  // blue
  EXPECT_EQ(bitmap.pixel(3, 3), kTransparent);
  // A screen of 0 x 0 takes the frame's extent.
  EXPECT_EQ(read_gif_size(craft_gif(0, 0, {first})), (ImageSize{3, 4}));
}

TEST(GifCodec, RefusesMalformedFiles) {
  const std::string good = encode_gif(sample(20, 10));
  const std::string cases[] = {
      "",
      "GIF89a",
      good.substr(0, 12),
      good.substr(0, good.size() / 2),
      "GIF89a" + std::string("\x04\x00\x04\x00\x00\x00\x00", 7) + ";",  // no image
      "BM" + good,
  };
  for (const std::string& bytes : cases)
    EXPECT_THROW(decode_gif(bytes), FormatError) << bytes.size();
  EXPECT_THROW(decode_gif(good, DecodeLimits{199}), FormatError);
  EXPECT_THROW(encode_gif(Bitmap()), ZorelError);
}

TEST(GifCodec, WritesWhatImageMagickReads) {
  if (!test::has_identify()) GTEST_SKIP() << "ImageMagick identify is not installed";
  Bitmap bitmap = sample(20, 10);
  EXPECT_EQ(test::identify(encode_gif(bitmap), "gif"), "GIF 20 10");
  bitmap.set_pixel(0, 0, kTransparent);
  EXPECT_EQ(test::identify(encode_gif(bitmap), "gif", "%m %w %h %A"), "GIF 20 10 True");
}

}  // namespace
}  // namespace zr
