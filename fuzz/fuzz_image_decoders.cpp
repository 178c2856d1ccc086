// Runs one image decoder over arbitrary bytes: the first byte picks BMP, JPEG, GIF or ICO,
// the rest is the file. Malformed input must end in FormatError, never in a crash, a hang
// or an allocation beyond the limit. A decoded picture must agree with its header's size.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/errors.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/graphics/gif_codec.h"
#include "platform/graphics/ico_codec.h"
#include "platform/graphics/jpeg_codec.h"

namespace {

// Small pictures are enough to reach every path and keep each run fast.
constexpr zr::DecodeLimits kLimits{1 << 20};

template <typename Decode, typename Size>
void run(std::string_view file, Decode decode, Size size) {
  try {
    zr::Bitmap bitmap = decode(file, kLimits);
    zr::ImageSize declared = size(file);
    if (bitmap.width() != declared.width || bitmap.height() != declared.height) std::abort();
  } catch (const zr::FormatError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 4) {
    case 0:
      run(
          file, [](auto f, auto l) { return zr::decode_bmp(f, l); }, zr::read_bmp_size);
      break;
    case 1:
      run(
          file, [](auto f, auto l) { return zr::decode_jpeg(f, l); }, zr::read_jpeg_size);
      break;
    case 2:
      run(
          file, [](auto f, auto l) { return zr::decode_gif(f, l); }, zr::read_gif_size);
      break;
    case 3:
      run(
          file, [](auto f, auto l) { return zr::decode_ico(f, l); }, zr::read_ico_size);
      break;
  }
  return 0;
}
