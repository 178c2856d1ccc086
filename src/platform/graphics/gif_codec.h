#pragma once
// GIF through giflib. Reading gives the first frame placed on the logical screen (the rest
// of the screen transparent), honouring its transparent colour; later frames are not read.
// Writing builds one frame with a palette made from the image: exact when it has at most
// 256 colours (255 when some pixels are transparent), median cut otherwise.

#include <string>
#include <string_view>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/decode_limits.h"

namespace zr {

struct GifEncodeOptions {
  bool monochrome = false;  // black and white only: luminance >= 128 is white
};

// The logical screen size (or the first frame's extent when the screen states none).
ImageSize read_gif_size(std::string_view file);
// Raises FormatError on malformed input, a file without an image, or a size beyond limits.
Bitmap decode_gif(std::string_view file, const DecodeLimits& limits = {});

// Pixels with alpha below 128 become the transparent colour (GIF89a); the others keep their
// colour without the premultiplication. Deterministic. Raises ZorelError (Argument) for an
// empty bitmap.
std::string encode_gif(const Bitmap& bitmap, const GifEncodeOptions& options = {});

}  // namespace zr
