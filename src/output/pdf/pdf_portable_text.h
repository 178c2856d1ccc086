#pragma once
// The texts of a portable page as the walking thread collects them: a record per text line
// (its place and look) and one per character (the glyph that draws it and where the layout
// put it). Each character is looked up once per font and document: its advance, its glyph
// and the embedded font that holds the glyph, so a line costs little more than its bytes.
//
// Lines are kept in the order the page draws them; a line that goes on where the previous one
// stopped, in the same rectangle and look, continues it (one text object in the content).

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "output/document/document_records.h"

namespace zr {

class Font;
struct FontMetrics;
class PdfEmbeddedFonts;
class TvtView;

// One character: the glyph that draws it and its left edge, in design pixels.
struct PdfGlyph {
  double x = 0;
  int32_t advance = 0;  // the glyph's width as the layout measured it
  uint16_t gid = 0;     // glyph (and CID) number in the embedded face
  int16_t font = 0;     // resource number /F<font>
  int16_t em = 0;       // font size: the em in design pixels
  bool synthetic_bold = false;
  bool synthetic_italic = false;
};

// One line (or run of lines that continue each other) and its characters glyphs[first, end).
struct PdfTextLine {
  double y = 0;
  double text_scale = 100;  // horizontal scale in percent
  int32_t char_spacing = 0;
  int32_t color = 0;
  uint8_t style = 0;  // kFsUnderline, kFsStrikeOut matter here
  // Of the memo's own font, which sets the line's baseline and rules: top edges above the
  // baseline.
  int16_t ascent = 0;
  int16_t underline_position = 0, underline_size = 1;
  int16_t strikeout_position = 0, strikeout_size = 1;
  uint32_t first = 0, end = 0;
};

struct PdfPageTexts {
  std::vector<PdfTextLine> lines;
  std::vector<PdfGlyph> glyphs;
};

class PdfPortableText {
 public:
  explicit PdfPortableText(PdfEmbeddedFonts& fonts);
  ~PdfPortableText();
  PdfPortableText(const PdfPortableText&) = delete;
  PdfPortableText& operator=(const PdfPortableText&) = delete;

  // Adds the characters of `line`, a text line of the memo `view`.
  void AddLine(const TvtView& view, const TOxvtTextRec& line);
  // Moves the page's texts out; the next page starts empty (with room for as many).
  PdfPageTexts Take();

 private:
  struct Character {
    int32_t advance = 0;
    uint16_t gid = 0;
    int16_t font = -1;  // -1: not looked up yet
    bool synthetic_bold = false, synthetic_italic = false;
  };
  // The layout's font of one memo font (its colour aside), with the characters met in it.
  struct FontCache;
  FontCache& CacheFor(const TOxvtFontInfo& font);
  const Character& Lookup(FontCache& cache, std::string_view c);
  bool ContinuesLastLine(const TOxvtTextRec& line) const;
  void StartLine(const TOxvtTextRec& line, const FontMetrics& metrics);

  PdfEmbeddedFonts& fonts_;
  std::vector<std::unique_ptr<FontCache>> caches_;
  FontCache* last_cache_ = nullptr;
  PdfPageTexts page_;
  // What decides whether the next line continues the last one.
  TOxvtFontInfo last_font_;
  Rect last_draw_rect_;
};

}  // namespace zr
