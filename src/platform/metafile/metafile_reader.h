#pragma once
// Reads enhanced (EMF) and placeable Windows (WMF) metafiles into a Metafile: the records our
// writers emit and the common drawing records of other writers (pens, brushes, fonts, stock
// objects, lines, polygons, boxes, text in both encodings, bitmaps, save/restore, clip
// rectangles). Other records are skipped. In EMF, coordinates are taken as the reference
// device's pixels (the MM_TEXT mapping our writers use); mapping-mode records are not
// applied. In WMF, the window origin and extent, when given, become the frame that the
// placeable box shows.
//
// Malformed input — a bad header, a record size that is not a multiple of 4 or runs past
// the end, a count larger than its record, a missing end record, more than kMaxRecords
// records or kMaxObjects live objects — raises FormatError naming `name` and the offset.

#include <string>
#include <string_view>

#include "platform/metafile/metafile.h"

namespace zr {

class Picture;

inline constexpr size_t kMaxMetafileRecords = 1'000'000;
inline constexpr size_t kMaxMetafileObjects = 65'535;

Metafile read_emf(std::string_view bytes, const std::string& name = "EMF");
Metafile read_wmf(std::string_view bytes, const std::string& name = "WMF");
// Either kind, told by the signature.
Metafile read_metafile(std::string_view bytes, const std::string& name = "metafile");

// Plays a metafile picture into `target` (the player that Picture leaves metafiles to).
// Raises ZorelError (Argument) for a picture of another kind, FormatError when its bytes are
// malformed.
void play_picture(const Picture& picture, Canvas& canvas, const Rect& target);

}  // namespace zr
