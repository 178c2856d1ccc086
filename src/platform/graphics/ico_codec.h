#pragma once
// Windows icon and cursor files (.ico, .cur). An icon file holds several images; the one
// drawn is the largest, then the deepest. Images stored as PNG are skipped (a clear
// FormatError when an icon has nothing else): no PNG decoder is linked.

#include <string_view>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/decode_limits.h"

namespace zr {

// The size of the image decode_ico would draw.
ImageSize read_ico_size(std::string_view file);
// Raises FormatError on malformed input or when no entry can be decoded.
Bitmap decode_ico(std::string_view file, const DecodeLimits& limits = {});

}  // namespace zr
