#pragma once
// An installed font file chosen for a face name and style.

#include <string>

namespace zr {

struct ResolvedFace {
  std::string file;    // path of the font file
  int index = 0;       // face index inside the file (collections hold several)
  std::string family;  // the installed family, UTF-8
  // The style was asked for but the file lacks it: the font emboldens or slants the glyphs.
  bool synthetic_bold = false;
  bool synthetic_italic = false;
  bool has_hangul = false;  // the file has Hangul syllables (checked with U+AC00)

  bool operator==(const ResolvedFace&) const = default;
};

}  // namespace zr
