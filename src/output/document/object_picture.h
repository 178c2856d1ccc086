#pragma once
// An object of a prepared page drawn into a picture, for exporters that cannot express it
// otherwise (pictures, shapes, barcodes, rotated texts).

#include <cstdint>
#include <optional>

#include "platform/graphics/bitmap.h"

namespace zr {

class TvtView;

// 64 MiB of pixels: 4096 x 4096, several times a large page at the display resolution.
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 24;

// Draws `view` moved to (0, 0) into a white bitmap one pixel larger than the object, then
// scales it to the display resolution. The view is put back also when drawing raises.
// nullopt for an object without area or larger than kMaxPicturePixels.
std::optional<Bitmap> RenderObjectPicture(TvtView& view);

}  // namespace zr
