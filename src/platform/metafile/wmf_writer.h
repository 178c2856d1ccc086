#pragma once
// Writes a Metafile as a placeable Windows metafile (WMF): the 22-byte placeable header with
// the frame in the metafile's pixels and its resolution as units per inch, then META_HEADER
// and the records. Text goes out as META_EXTTEXTOUT in ANSI bytes with one advance per byte
// (a double-byte character's advance on its lead byte, 0 on its trail byte). Bitmaps are
// 24-bit DIBs in META_STRETCHDIB, drawn over white, as WMF readers know no alpha.
//
// Limits of the format: one resolution (the horizontal one) for both axes; coordinates are
// 16-bit and are clamped; a clip region becomes the
// rectangle around it; a pattern brush that is no hatch style is written solid; a polygon of
// more than 32767 points keeps the first 32767.

#include <string>

#include "platform/metafile/metafile.h"

namespace zr {

// The file's bytes. Raises ZorelError (Argument) for a metafile without a frame.
std::string write_wmf(const Metafile& metafile);

}  // namespace zr
