#pragma once
// The fonts of a PDF export: one entry per font key (face name without blanks plus style),
// metrics taken from the installed TrueType font the face name resolves to, and the objects
// that describe it. Faces whose name holds a blank or a non-ASCII byte are written as
// composite fonts with the Korean UHC encoding, so their text bytes are the code page's
// double-byte codes; the others are simple TrueType fonts in WinAnsiEncoding.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "output/document/document_records.h"
#include "platform/fonts/font_metrics.h"

namespace zr {

class PdfObjectWriter;

struct TOxvtFontMetrics {
  std::string Key;  // ANSI bytes, e.g. "Arial,BoldItalic"
  int FontObject = 0;
  int DescriptorObject = 0;
  bool Composite = false;
  int Flags = 0;
  FontBox FontBBox{-250, -200, 1000, 900};
  int Ascent = 800, Descent = -200, CapHeight = 700;
  int AvgWidth = 600, MaxWidth = 600;
  int StemV = 0;
  int ItalicAngle = 0;
  int Leading = 0;
  int StrikeOutSize = 0, StrikeOutPosition = 0;
  int UnderlineSize = 0, UnderlinePosition = -1;
  std::array<int, 224> Widths{};  // codes 32-255 in 1/1000 em
  int PixelsPerInch = ScreenPPI;
};

// The face name without blanks, then "," and "Bold" and/or "Italic" for those styles.
std::string PdfFontKey(const TOxvtFontInfo& font);
// Whether a face name needs a composite font: any byte outside 33-126.
bool IsCompositeFontName(std::string_view name);
// Whether every byte is in 32-126.
bool IsPlainAscii(std::string_view text);

// Metrics of `font` under `key`: the face made at 1000 points on the display. Object numbers
// are left for the caller. Raises IoError when the resolved font file cannot be opened.
TOxvtFontMetrics MakeFontMetrics(const TOxvtFontInfo& font, std::string key);

// Sum of the widths of the bytes of `text` (500 per byte for a composite font).
int GlyphWidthSum(const TOxvtFontMetrics& metrics, std::string_view text);

// The font's objects: the font and its descriptor, or for a composite font the Type0 font,
// its CIDFontType2 descendant (numbered as the descriptor) and a descriptor numbered by
// `next_object_number` (incremented).
void WriteFontObjects(PdfObjectWriter& writer, const TOxvtFontMetrics& metrics, int index,
                      int& next_object_number);

}  // namespace zr
