#pragma once
// One finished page on its way from the page walk to the writer thread: the base's records
// and what the caller's thread resolved for them (pictures, fonts, glyphs), so that the
// worker needs nothing but this to write the page.

#include <memory>
#include <utility>
#include <vector>

#include "output/document/document_records.h"
#include "output/pdf/pdf_fonts.h"
#include "output/pdf/pdf_portable_text.h"

namespace zr {

class Font;
struct TvtPreparedPage;

// The picture an object record draws: an index into the document's pictures, and whether
// this record brings it (the picture is written with this page).
struct PdfPictureUse {
  int index = -1;  // -1: no picture
  bool is_new = false;
};

struct PdfPageJob {
  std::vector<TOxvtDataRec> objects;
  std::vector<PdfPictureUse> pictures;  // one per object record
  // Classic: a record per character, and the resource number and metrics of its font.
  std::vector<TOxvtTextRec> texts;
  std::vector<std::pair<int, TOxvtFontMetrics*>> classic_fonts;
  PdfPageTexts portable_texts;
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
