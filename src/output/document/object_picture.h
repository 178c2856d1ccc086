#pragma once
// An object of a prepared page drawn into a picture, for exporters that cannot express it
// otherwise (pictures, shapes, barcodes, rotated texts).

#include <optional>

#include "platform/graphics/bitmap.h"

namespace zr {

class TvtView;

// Draws `view` moved to (0, 0) into a white bitmap one pixel larger than the object, then
// scales it to the display resolution. The view is put back also when drawing raises.
// nullopt for an object without area or too large for a bitmap.
std::optional<Bitmap> RenderObjectPicture(TvtView& view);

}  // namespace zr
