#pragma once
// The fonts of a portable PDF: every installed face the layout drew glyphs from is embedded
// once, as a subset holding the glyphs the document uses (glyph numbers kept, so a glyph's
// number is its CID), with a ToUnicode map from those glyphs back to the characters. Each
// face at each em size (and synthetic style) is a composite font of its own (Type0 with
// Identity-H over a CIDFontType2) whose widths are the layout's advances at that size, so a
// reader advances every glyph exactly as the layout did.
//
// Glyphs are registered on the thread that walks the pages (the fonts are not thread-safe);
// the objects are written at the document's end.

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "output/pdf/pdf_deflate.h"
#include "platform/fonts/font.h"

namespace zr {

class PdfObjectWriter;

// A glyph's width in a font's /W array: its advance in thousandths of the em, rounded to a
// whole number (readers such as MuPDF read widths as integers).
inline int PdfGlyphWidth(int advance, int em) {
  return static_cast<int>(std::lround(advance * 1000.0 / (em > 0 ? em : 1)));
}

class PdfEmbeddedFonts {
 public:
  // The resource number of the font that draws `glyph` (from Font::glyph of `font`), with
  // `advance` the layout's width of it in design pixels; the glyph's code point is the
  // character it stands for.
  int Use(const std::shared_ptr<const Font>& font, const GlyphRef& glyph, int advance);
  // The font's own face at its size, without any glyph yet (a document without text still
  // names one font).
  int UseFace(const Font& font);
  int Count() const { return static_cast<int>(fonts_.size()); }

  // Numbers every font's objects from `next_object_number` on (advanced); returns the
  // object number of each resource font, by resource number. Call once, before Write.
  std::vector<int> Number(int& next_object_number);
  // Writes every font's objects. Raises IoError when a font file cannot be read again.
  void Write(PdfObjectWriter& writer, bool compress, TPDFCompressionMethod method) const;

 private:
  struct Face {
    std::string file;
    int index = 0;
    std::string family;
    std::vector<char32_t> characters;  // by glyph number; 0 = not used
    std::vector<bool> used;
  };
  struct PdfFont {
    int face = 0;
    int em = 0;
    bool synthetic_bold = false, synthetic_italic = false;
    std::vector<int32_t> advances;  // by glyph number; -1 = not used
  };
  int FontFor(const std::shared_ptr<const Font>& font, const GlyphRef& glyph);
  int FaceFor(const ResolvedFace& face, FT_Face ft_face);

  std::vector<Face> faces_;
  std::vector<int> font_objects_;  // by resource number: the Type0 font, then its descendant
  std::vector<int> face_objects_;  // by face: descriptor, then font program, then ToUnicode
  std::vector<PdfFont> fonts_;
  std::map<std::tuple<std::string, int>, int> face_index_;
  std::map<std::tuple<int, int, bool, bool>, int> font_index_;
  // The last lookup: most glyphs of a line come from the same font.
  // The font is held so that its address cannot come back as another font's.
  FT_Face last_ft_face_ = nullptr;
  std::shared_ptr<const Font> last_font_;
  bool last_bold_ = false, last_italic_ = false;
  int last_index_ = -1;
};

}  // namespace zr
