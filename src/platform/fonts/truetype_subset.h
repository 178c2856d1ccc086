#pragma once
// A TrueType font program cut down to the glyphs a document uses, for embedding. Glyph
// numbers stay as they are (the glyphs not kept are empty), so text written with the full
// font's glyph numbers draws with the subset unchanged. Composite glyphs bring their
// components along; glyph 0 (the missing glyph) is always kept.
//
// The subset holds the tables a renderer needs to draw glyphs by number: head, hhea, maxp,
// OS/2, hmtx, loca, glyf, name, post (without glyph names), and the hinting programs cvt,
// fpgm and prep when the font has them. It has no cmap: characters are mapped by the
// document, not by the font.
//
// Input is a font file's bytes as read from disk (a single font or a collection); every read
// is bounds-checked and a damaged file raises FormatError.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// What a document's font descriptor needs, in the font's own units.
struct TrueTypeFaceInfo {
  int units_per_em = 1000;
  int x_min = 0, y_min = 0, x_max = 0, y_max = 0;  // the head table's bounding box
  int ascent = 0, descent = 0;                     // hhea; descent negative
  int cap_height = 0;                              // OS/2 version 2+, else the ascent
  double italic_angle = 0;                         // degrees, post
  bool fixed_pitch = false;
  bool serif = false;  // OS/2 family class or PANOSE says serif
  int weight = 400;
  int glyph_count = 0;
  std::string postscript_name;  // printable ASCII; empty when the font names none
};

// Whether face `index` of the file is a TrueType font with glyf outlines (and not a CFF
// font or a bitmap font), so that it can be subset here.
bool HasTrueTypeOutlines(std::string_view file, int index);

TrueTypeFaceInfo ReadTrueTypeFaceInfo(std::string_view file, int index);

// The font program with only `glyphs` (and what they need) drawn; glyph numbers beyond the
// font are ignored. Deterministic: the same input gives the same bytes.
std::string SubsetTrueType(std::string_view file, int index, const std::vector<uint16_t>& glyphs);

}  // namespace zr
