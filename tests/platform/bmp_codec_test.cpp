#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/graphics/decode_limits.h"
#include "platform/image_test_support.h"

namespace zr {
namespace {

using test::Bytes;

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF,
                   kBlack = 0;

struct Dib {
  int32_t width = 2;
  int32_t height = 2;  // negative: top-down
  uint16_t bits = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // system colours, written B, G, R, 0
  uint32_t colors_used = 0;
  std::vector<uint32_t> masks;  // in a V4 header when `v4`, else after the info header
  bool v4 = false;
  std::string pixels;
};

std::string bmp(const Dib& d) {
  Bytes info;
  const uint32_t header_size = d.v4 ? 108 : 40;
  info.u32(header_size).i32(d.width).i32(d.height).u16(1).u16(d.bits).u32(d.compression);
  info.u32(static_cast<uint32_t>(d.pixels.size())).i32(3780).i32(3780).u32(d.colors_used).u32(0);
  if (d.v4) {
    for (size_t i = 0; i < 4; ++i) info.u32(i < d.masks.size() ? d.masks[i] : 0);
    info.raw(std::string(108 - 56, '\0'));
  } else {
    for (uint32_t m : d.masks) info.u32(m);
  }
  for (uint32_t c : d.palette) info.u8(c >> 16).u8(c >> 8).u8(c).u8(0);
  Bytes file;
  const uint32_t offset = 14 + static_cast<uint32_t>(info.data.size());
  file.u16(0x4D42).u32(offset + static_cast<uint32_t>(d.pixels.size())).u32(0).u32(offset);
  return file.raw(info.data).raw(d.pixels).data;
}

std::string b(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// Colours of every pixel, top row first; transparent pixels read as -1.
std::vector<int64_t> colours(const Bitmap& bitmap) {
  std::vector<int64_t> out;
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x)
      out.push_back(bitmap.alpha(x, y) ? int64_t{bitmap.color(x, y)} : -1);
  return out;
}

struct ReadCase {
  const char* name;
  Dib dib;
  std::vector<int64_t> expected;
};

TEST(BmpCodec, ReadsVariants) {
  std::vector<uint32_t> palette256(256, 0);
  palette256[1] = kRed, palette256[2] = kGreen;
  const ReadCase cases[] = {
      {"1-bit bottom-up",
       {2, 2, 1, 0, {kBlack, kWhite}, 0, {}, false, b({0x80, 0, 0, 0, 0x40, 0, 0, 0})},
       {kBlack, kWhite, kWhite, kBlack}},
      {"4-bit, short palette, index past it is black",
       {2, 2, 4, 0, {kRed, kGreen, kBlue}, 3, {}, false, b({0x27, 0, 0, 0, 0x01, 0, 0, 0})},
       {kRed, kGreen, kBlue, kBlack}},
      {"8-bit top-down, full palette",
       {2, -2, 8, 0, palette256, 0, {}, false, b({1, 2, 0, 0, 2, 1, 0, 0})},
       {kRed, kGreen, kGreen, kRed}},
      {"24-bit bottom-up with row padding",
       {2,
        2,
        24,
        0,
        {},
        0,
        {},
        false,
        b({0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0})},
       {kBlue, kGreen, kRed, kWhite}},
      {"32-bit BI_RGB: fourth byte is not alpha",
       {1, 1, 32, 0, {}, 0, {}, false, b({0x10, 0x20, 0x30, 0x00})},
       {0x102030}},
      {"16-bit BI_RGB is 5-5-5",
       {2, 1, 16, 0, {}, 0, {}, false, b({0x00, 0x7C, 0x1F, 0x00})},
       {kRed, kBlue}},
      {"16-bit 5-6-5 bit fields after the info header",
       {2, 1, 16, 3, {}, 0, {0xF800, 0x07E0, 0x001F}, false, b({0xE0, 0x07, 0x1F, 0x00})},
       {kGreen, kBlue}},
      {"RLE8 runs, end of line, end of bitmap",
       {2, 2, 8, 1, {kBlack, kRed, kGreen}, 3, {}, false, b({2, 1, 0, 0, 1, 2, 1, 0, 0, 1})},
       {kGreen, kBlack, kRed, kRed}},
      {"RLE8 delta leaves skipped pixels transparent",
       {2, 2, 8, 1, {kBlack, kRed}, 2, {}, false, b({0, 2, 1, 1, 1, 1, 0, 1})},
       {-1, kRed, -1, -1}},
      {"RLE4 run and literal",
       {4,
        2,
        4,
        2,
        {kBlack, kRed, kGreen},
        3,
        {},
        false,
        b({4, 0x12, 0, 0, 0, 3, 0x01, 0x20, 0, 1})},
       {kBlack, kRed, kGreen, -1, kRed, kGreen, kRed, kGreen}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap bitmap = decode_bmp(bmp(c.dib));
    EXPECT_EQ(bitmap.width(), c.dib.width);
    EXPECT_EQ(bitmap.height(), std::abs(c.dib.height));
    EXPECT_EQ(colours(bitmap), c.expected);
  }
}

TEST(BmpCodec, ReadsAlphaThroughBitFieldMasksOnly) {
  Dib d{1, 1, 32, 3, {}, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, true, b({0, 0, 0xFF, 0x80})};
  Bitmap bitmap = decode_bmp(bmp(d));
  EXPECT_EQ(bitmap.alpha(0, 0), 0x80);
  EXPECT_EQ(bitmap.color(0, 0), kRed);
}

TEST(BmpCodec, ReadsCoreHeader) {
  Bytes f;
  f.u16(0x4D42).u32(0).u32(0).u32(14 + 12 + 6);
  f.u32(12).u16(2).u16(1).u16(1).u16(1);        // OS/2 core: 2 x 1, 1 bit
  f.u8(0).u8(0).u8(0xFF).u8(0xFF).u8(0).u8(0);  // red, blue as B, G, R triples
  f.u8(0x40).u8(0).u8(0).u8(0);
  Bitmap bitmap = decode_bmp(f.data);
  EXPECT_EQ(colours(bitmap), (std::vector<int64_t>{kRed, kBlue}));
  EXPECT_EQ(read_bmp_size(f.data), (ImageSize{2, 1}));
}

TEST(BmpCodec, RefusesMalformedFiles) {
  const std::string good = bmp({2, 2, 24, 0, {}, 0, {}, false, std::string(16, '\0')});
  auto patched = [&](size_t offset, std::string bytes) {
    std::string s = good;
    s.replace(offset, bytes.size(), bytes);
    return s;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"signature only", "BM"},
      {"not a bitmap", "GIF89a" + std::string(60, '\0')},
      {"header size 20", patched(14, b({20, 0, 0, 0}))},
      {"width 0", patched(18, b({0, 0, 0, 0}))},
      {"height 0", patched(22, b({0, 0, 0, 0}))},
      {"bit count 7", patched(28, b({7, 0}))},
      {"JPEG compression", patched(30, b({4, 0, 0, 0}))},
      {"unknown compression", patched(30, b({9, 0, 0, 0}))},
      {"pixel data truncated", good.substr(0, good.size() - 1)},
      {"pixel offset past the end", patched(10, b({0xFF, 0xFF, 0, 0}))},
      {"absurd size", patched(18, b({0xA0, 0x86, 0x01, 0, 0xA0, 0x86, 0x01, 0}))},
      {"huge palette", bmp({2, 2, 8, 0, {}, 100000, {}, false, std::string(8, '\0')})},
      {"RLE top-down", bmp({2, -2, 8, 1, {kRed}, 1, {}, false, b({0, 1})})},
      {"RLE4 with 8 bits", bmp({2, 2, 8, 2, {kRed}, 1, {}, false, b({0, 1})})},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_THROW(decode_bmp(bytes), FormatError);
  }
  EXPECT_THROW(decode_bmp(good, DecodeLimits{3}), FormatError);
}

Bitmap sample(int w, int h) {
  Bitmap bitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      bitmap.set_color(x, y, (x * 37 + y * 11) | ((x * y * 7) << 8) | ((x + y) << 17));
  return bitmap;
}

TEST(BmpCodec, TrueColourRoundTrips) {
  Bitmap opaque = sample(7, 5);  // odd width: rows are padded
  EXPECT_EQ(decode_bmp(encode_bmp(opaque)), opaque);
  EXPECT_EQ(decode_bmp(encode_bmp(opaque, BmpPixelFormat::k32Bit)), opaque);

  Bitmap alpha = opaque;
  alpha.set_color(0, 0, 0x336699, 128);
  alpha.set_pixel(1, 0, kTransparent);
  Bitmap back = decode_bmp(encode_bmp(alpha, BmpPixelFormat::k32Bit));
  EXPECT_EQ(back.alpha(0, 0), 128);
  EXPECT_EQ(back.pixel(1, 0), kTransparent);
  EXPECT_EQ(back.crop(0, 1, 7, 4), opaque.crop(0, 1, 7, 4));
  // Without alpha, transparency is drawn over white.
  EXPECT_EQ(decode_bmp(encode_bmp(alpha)).color(1, 0), kWhite);
}

TEST(BmpCodec, PaletteFormatsRoundTrip) {
  Bitmap grey(5, 3);
  const uint32_t shades[] = {0x000000, 0x404040, 0x7F7F7F, 0x808080,
                             0xC0C0C0, 0x0000FF, 0x00FFFF, 0xFFFFFF};
  for (int i = 0; i < 15; ++i) grey.set_color(i % 5, i / 5, shades[i % 8]);
  Bitmap mono = decode_bmp(encode_bmp(grey, BmpPixelFormat::k1Bit));
  for (int i = 0; i < 15; ++i) {
    const uint32_t expected[] = {kBlack, kBlack, kBlack, kWhite, kWhite, kBlack, kWhite, kWhite};
    EXPECT_EQ(mono.color(i % 5, i / 5), expected[i % 8]) << i;
  }
  EXPECT_EQ(decode_bmp(encode_bmp(grey, BmpPixelFormat::k4Bit)), grey);  // 8 colours: exact
  Bitmap many = sample(20, 10);                                          // 200 colours
  EXPECT_EQ(decode_bmp(encode_bmp(many, BmpPixelFormat::k8Bit)), many);
}

TEST(BmpCodec, SixteenBitFormatsKeepTheTopBits) {
  Bitmap bitmap(3, 1);
  bitmap.set_color(0, 0, 0xFF00FF);
  bitmap.set_color(1, 0, 0x08F0F8);  // mid values lose their low bits
  bitmap.set_color(2, 0, 0x123456);
  for (BmpPixelFormat format : {BmpPixelFormat::k15Bit, BmpPixelFormat::k16Bit}) {
    Bitmap back = decode_bmp(encode_bmp(bitmap, format));
    EXPECT_EQ(back.color(0, 0), 0xFF00FFu);
    for (int x = 1; x < 3; ++x)
      for (int shift : {0, 8, 16})
        EXPECT_LE(std::abs(int((back.color(x, 0) >> shift) & 0xFF) -
                           int((bitmap.color(x, 0) >> shift) & 0xFF)),
                  8);
  }
}

TEST(BmpCodec, WritesWhatImageMagickReads) {
  if (!test::has_identify()) GTEST_SKIP() << "ImageMagick identify is not installed";
  Bitmap bitmap = sample(7, 5);
  EXPECT_EQ(test::identify(encode_bmp(bitmap), "bmp"), "BMP3 7 5");
  EXPECT_EQ(test::identify(encode_bmp(bitmap, BmpPixelFormat::k1Bit), "bmp", "%m %w %h %k"),
            "BMP3 7 5 2");
  EXPECT_EQ(test::identify(encode_bmp(bitmap, BmpPixelFormat::k8Bit), "bmp"), "BMP3 7 5");
  EXPECT_EQ(test::identify(encode_bmp(bitmap, BmpPixelFormat::k16Bit), "bmp"), "BMP3 7 5");
  EXPECT_EQ(test::identify(encode_bmp(bitmap, BmpPixelFormat::k32Bit), "bmp", "%m %w %h %A"),
            "BMP 7 5 True");
}

TEST(BmpCodec, RefusesEmptyBitmap) {
  EXPECT_THROW(encode_bmp(Bitmap()), ZorelError);
}

}  // namespace
}  // namespace zr
