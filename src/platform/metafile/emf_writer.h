#pragma once
// Writes a Metafile as an enhanced metafile (EMF). Coordinates are the metafile's pixels on a
// reference device of the metafile's resolution; the header's frame is the metafile's frame
// in hundredths of a millimetre. Text goes out as EMR_EXTTEXTOUTW (UTF-16) with the advances
// it was laid out with, so character extra spacing and justification need no records of
// their own. Bitmaps are 32-bit DIBs in EMR_STRETCHDIBITS.
//
// Limits of the format: a clip region of several rectangles is written as one region; a
// pattern brush that is no hatch style is written solid.

#include <string>

#include "platform/metafile/metafile.h"

namespace zr {

// The file's bytes. Raises ZorelError (Argument) for a metafile without a frame.
std::string write_emf(const Metafile& metafile);

}  // namespace zr
