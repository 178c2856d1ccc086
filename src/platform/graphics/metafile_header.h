#pragma once
// The header of the metafiles a picture can hold: enhanced metafiles and placeable Windows
// metafiles. Pictures keep metafile bytes as they are; playing them is the metafile
// player's job. Sizes are in pixels at 96 per inch, the exporters' screen resolution.

#include <string_view>

#include "platform/graphics/decode_limits.h"

namespace zr {

bool is_enhanced_metafile(std::string_view bytes);
// From the EMF header's frame (hundredths of a millimetre) or the placeable header's box
// and units per inch, rounded half to even. Raises FormatError for anything else, such as
// a Windows metafile without the placeable header, whose size is unknown.
ImageSize read_metafile_size(std::string_view bytes);

}  // namespace zr
