#pragma once
// JPEG through libjpeg(-turbo). Decoding accepts grayscale, YCbCr/RGB and CMYK/YCCK files
// (Adobe's inverted CMYK included) and gives opaque pixels. libjpeg's fatal errors, a
// progressive file with an absurd number of scans and a size beyond DecodeLimits raise
// FormatError; recoverable damage (a truncated scan) decodes as far as libjpeg can, as
// viewers do.

#include <string>
#include <string_view>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/decode_limits.h"

namespace zr {

// Defaults are the JPEG export's own (Quality 100, progressive, colour).
struct JpegEncodeOptions {
  int quality = 100;  // 1 (smallest file) to 100 (best picture); clamped into that range
  bool grayscale = false;
  bool progressive = true;
};

// The size from the frame header, without decoding the scans.
ImageSize read_jpeg_size(std::string_view file);
Bitmap decode_jpeg(std::string_view file, const DecodeLimits& limits = {});

// A JFIF file at 96 dpi; transparent pixels are drawn over white. Deterministic (integer
// DCT). Raises ZorelError (Argument) for an empty bitmap.
std::string encode_jpeg(const Bitmap& bitmap, const JpegEncodeOptions& options = {});

}  // namespace zr
