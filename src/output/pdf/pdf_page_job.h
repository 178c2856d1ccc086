#pragma once
// One finished page on its way from the page walk to the writer thread: the base's records
// and what the caller's thread resolved for them (pictures, fonts, glyphs), so that the
// worker needs nothing but this to write the page.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "output/document/document_records.h"
#include "output/pdf/pdf_fonts.h"

namespace zr {

class Font;
struct TvtPreparedPage;

// The picture an object record draws: an index into the document's pictures, and whether
// this record brings it (the picture is written with this page).
struct PdfPictureUse {
  int index = -1;  // -1: no picture
  bool is_new = false;
};

// One character of a portable page: the glyph that draws it and the line metrics of the
// font that laid it out, all in design pixels.
struct PdfGlyph {
  int font = 0;         // resource number /F<font>
  uint16_t gid = 0;     // glyph (and CID) number in the embedded face
  int16_t em = 0;       // font size: the em in design pixels
  int32_t advance = 0;  // the glyph's width as the layout measured it
  bool synthetic_bold = false;
  bool synthetic_italic = false;
  // Of the memo's own font, which sets the line's baseline and rules.
  int16_t ascent = 0;
  int16_t underline_position = 0, underline_size = 1;  // top edge above the baseline
  int16_t strikeout_position = 0, strikeout_size = 1;
};

struct PdfPageJob {
  std::vector<TOxvtDataRec> objects;
  std::vector<PdfPictureUse> pictures;  // one per object record
  std::vector<TOxvtTextRec> texts;      // one per character
  // Classic: the resource number and metrics of each text record's font.
  std::vector<std::pair<int, TOxvtFontMetrics*>> classic_fonts;
  std::vector<PdfGlyph> glyphs;  // portable: one per text record
  // Portable: the page's paper in points and its height in design pixels.
  double paper_width = 0, paper_height = 0;
  int page_height_px = 0;
};

// A prepared page's paper in points (portable documents): its width and height in tenths
// of a millimetre, turned as the page is.
void PaperInPoints(const TvtPreparedPage& page, double& width, double& height);

// The font the document base measured a memo's characters with.
std::shared_ptr<const Font> LayoutFont(const TOxvtFontInfo& font);

}  // namespace zr
