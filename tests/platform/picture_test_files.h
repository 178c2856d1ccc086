#pragma once
// Small graphics of every kind a picture holds, for the picture tests.

#include <string>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/graphics/gif_codec.h"
#include "platform/graphics/jpeg_codec.h"
#include "platform/image_test_support.h"

namespace zr::test {

inline Bitmap checker(int w, int h) {
  Bitmap bitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bitmap.set_color(x, y, (x + y) % 2 ? 0xFFFFFF : 0x0000FF);
  return bitmap;
}

inline std::string bmp_file() {
  return encode_bmp(checker(5, 3));
}
inline std::string jpeg_file() {
  return encode_jpeg(checker(6, 4));
}
inline std::string gif_file() {
  return encode_gif(checker(7, 2));
}

// One 1 x 1 24-bit image inside an icon directory.
inline std::string ico_file() {
  Bytes f;
  f.u16(0).u16(1).u16(1);
  f.u8(1).u8(1).u8(0).u8(0).u16(1).u16(24).u32(40 + 4 + 4).u32(22);
  f.u32(40).i32(1).i32(2).u16(1).u16(24).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
  f.u8(0).u8(0).u8(0xFF).u8(0);  // red, padded row
  f.u32(0);                      // AND mask row
  return f.data;
}

// An enhanced metafile: header with a frame of 25.4 x 12.7 mm, then EMR_EOF.
inline std::string emf_file() {
  Bytes f;
  f.u32(1).u32(88).i32(0).i32(0).i32(95).i32(47).i32(0).i32(0).i32(2540).i32(1270);
  f.u32(0x464D4520).u32(0x10000).u32(108).u32(2).u16(1).u16(0).u32(0).u32(0).u32(0);
  f.i32(1024).i32(768).i32(320).i32(240);
  f.u32(14).u32(20).u32(0).u32(16).u32(20);
  return f.data;
}

// A placeable Windows metafile: 1440 x 720 units at 1440 per inch, then the header and the
// end record.
inline std::string wmf_file() {
  Bytes f;
  f.u32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(1440).u16(720).u16(1440).u32(0).u16(0);
  f.u16(1).u16(9).u16(0x300).u32(12).u16(0).u32(3).u16(0);
  f.u32(3).u16(0);
  return f.data;
}

}  // namespace zr::test
