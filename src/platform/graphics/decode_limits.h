#pragma once
// Limits every image decoder checks before it allocates, and the size a header declares.

#include <cstdint>
#include <string>

#include "platform/errors.h"
#include "platform/graphics/bitmap.h"

namespace zr {

struct DecodeLimits {
  // Largest picture a decoder builds, in pixels; never above what Bitmap allows. Fuzzing
  // and callers that know their pictures are small lower it.
  int64_t max_pixels = Bitmap::kMaxPixels;
};

// Width and height in pixels as a file's header states them.
struct ImageSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// Raises FormatError naming `format` when a declared size cannot be decoded under `limits`.
inline void check_decode_size(int64_t width, int64_t height, const DecodeLimits& limits,
                              const std::string& format) {
  if (width <= 0 || height <= 0 || !Bitmap::size_allowed(width, height) ||
      width * height > limits.max_pixels)
    throw FormatError(format + " image size " + std::to_string(width) + "x" +
                          std::to_string(height) + " is out of range",
                      format);
}

}  // namespace zr
