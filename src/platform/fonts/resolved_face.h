#pragma once
// An installed font file chosen for a face name and style.

#include <string>

namespace zr {

// How a face name found its file.
enum class FaceMatch {
  Installed,   // a font of that very family is installed
  Substitute,  // a family that stands in for it (metric-compatible where there is one)
  Fallback,    // nothing answers to the name: the default family of its character set
};

struct ResolvedFace {
  std::string file;    // path of the font file
  int index = 0;       // face index inside the file (collections hold several)
  std::string family;  // the installed family, UTF-8
  // The style was asked for but the file lacks it: the font emboldens or slants the glyphs.
  bool synthetic_bold = false;
  bool synthetic_italic = false;
  bool has_hangul = false;  // the file has Hangul syllables (checked with U+AC00)
  FaceMatch match = FaceMatch::Installed;

  bool operator==(const ResolvedFace&) const = default;
};

}  // namespace zr
