#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

extern "C" {
#include <jpeglib.h>
}

#include "platform/errors.h"
#include "platform/graphics/jpeg_codec.h"
#include "platform/image_test_support.h"

namespace zr {
namespace {

Bitmap gradient(int w, int h) {
  Bitmap bitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      bitmap.set_color(x, y, (x * 255 / w) | ((y * 255 / h) << 8) | (0x80 << 16));
  return bitmap;
}

int max_channel_difference(const Bitmap& a, const Bitmap& b) {
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      for (int shift : {0, 8, 16, 24})
        worst = std::max(worst, std::abs(int((a.pixel(x, y) >> shift) & 0xFF) -
                                         int((b.pixel(x, y) >> shift) & 0xFF)));
  return worst;
}

TEST(JpegCodec, RoundTripIsClose) {
  Bitmap original = gradient(40, 30);
  for (bool progressive : {false, true}) {
    std::string file = encode_jpeg(original, {95, false, progressive});
    // Baseline frames are SOF0, progressive ones SOF2.
    EXPECT_NE(file.find(progressive ? "\xFF\xC2" : "\xFF\xC0"), std::string::npos);
    EXPECT_EQ(read_jpeg_size(file), (ImageSize{40, 30}));
    Bitmap back = decode_jpeg(file);
    ASSERT_EQ(back.width(), 40);
    ASSERT_EQ(back.height(), 30);
    EXPECT_TRUE(back.is_opaque());
    EXPECT_LE(max_channel_difference(original, back), 8) << progressive;
  }
}

TEST(JpegCodec, EncodingOptions) {
  Bitmap original = gradient(64, 48);
  original.set_pixel(0, 0, kTransparent);
  const std::string best = encode_jpeg(original);
  EXPECT_EQ(encode_jpeg(original), best);  // deterministic
  EXPECT_LT(encode_jpeg(original, {10, false, true}).size(), best.size());
  EXPECT_EQ(encode_jpeg(original, {0, false, true}), encode_jpeg(original, {1, false, true}));
  EXPECT_EQ(encode_jpeg(original, {500, false, true}), best);
  EXPECT_GT(decode_jpeg(best).color(0, 0) & 0xFF, 0xF0u);  // transparent: drawn over white

  Bitmap grey = decode_jpeg(encode_jpeg(original, {90, true, false}));
  for (int x = 0; x < grey.width(); x += 7) {
    uint32_t c = grey.color(x, 20);
    EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
    EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
  }
  EXPECT_THROW(encode_jpeg(Bitmap()), ZorelError);
}

TEST(JpegCodec, WritesWhatImageMagickReads) {
  if (!test::has_identify()) GTEST_SKIP() << "ImageMagick identify is not installed";
  Bitmap original = gradient(40, 30);
  EXPECT_EQ(test::identify(encode_jpeg(original), "jpg", "%m %w %h %[interlace] %Q"),
            "JPEG 40 30 JPEG 100");
  EXPECT_EQ(test::identify(encode_jpeg(original, {50, true, false}), "jpg",
                           "%m %w %h %[colorspace] %[interlace] %Q"),
            "JPEG 40 30 Gray None 50");
}

// An Adobe CMYK file written with libjpeg: Adobe's values are inverted, 255 is no ink.
std::string adobe_cmyk(const unsigned char ink[4]) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 8;
  cinfo.image_height = 8;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  unsigned char row[32];
  for (int i = 0; i < 32; ++i) row[i] = ink[i % 4];
  while (cinfo.next_scanline < 8) {
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string file(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return file;
}

TEST(JpegCodec, ReadsAdobeCmyk) {
  const unsigned char magenta[4] = {255, 0, 255, 255};  // inverted: full magenta ink only
  Bitmap bitmap = decode_jpeg(adobe_cmyk(magenta));
  uint32_t c = bitmap.color(4, 4);
  EXPECT_GE(c & 0xFF, 250u);
  EXPECT_LE((c >> 8) & 0xFF, 5u);
  EXPECT_GE((c >> 16) & 0xFF, 250u);
}

TEST(JpegCodec, MalformedInputRaisesOrDecodesButNeverCrashes) {
  const std::string good = encode_jpeg(gradient(40, 30), {80, false, true});
  const std::string cases[] = {
      "",
      "\xFF\xD8",
      std::string("\xFF\xD8\xFF\xE0") + std::string(40, 'x'),
      good.substr(0, 20),
      "GIF89a" + good,
  };
  for (const std::string& bytes : cases) {
    EXPECT_THROW(decode_jpeg(bytes), FormatError) << bytes.size();
    EXPECT_THROW(read_jpeg_size(bytes), FormatError) << bytes.size();
  }
  // Damaged scan data: libjpeg recovers what it can; anything but a FormatError is a fault.
  for (size_t cut : {good.size() / 2, good.size() - 3}) {
    try {
      Bitmap partial = decode_jpeg(good.substr(0, cut));
      EXPECT_EQ(partial.width(), 40);
    } catch (const FormatError&) {
    }
  }
  std::string flipped = good;
  for (size_t i = good.size() / 3; i < good.size(); i += 17)
    flipped[i] = static_cast<char>(~flipped[i]);
  try {
    decode_jpeg(flipped);
  } catch (const FormatError&) {
  }
  EXPECT_THROW(decode_jpeg(good, DecodeLimits{100}), FormatError);
}

}  // namespace
}  // namespace zr
