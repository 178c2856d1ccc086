#include "output/pdf/pdf_portable_text.h"

#include <algorithm>

#include "engine/report/tvt_globals.h"
#include "output/document/document_characters.h"
#include "output/pdf/pdf_embedded_fonts.h"
#include "output/pdf/pdf_page_job.h"
#include "platform/fonts/font_resolver.h"

namespace zr {

struct PdfPortableText::FontCache {
  TOxvtFontInfo key;  // colour and resolution left out: they do not change the glyphs
  std::shared_ptr<const Font> font;
  std::array<Character, 256> bytes;                // single-byte characters
  std::unordered_map<uint32_t, Character> others;  // double-byte ones, by their two bytes
};

namespace {

TOxvtFontInfo glyph_key(const TOxvtFontInfo& font) {
  TOxvtFontInfo key = font;
  key.Color = 0;
  key.PixelsPerInch = 0;
  return key;
}

bool same_glyphs(const TOxvtFontInfo& a, const TOxvtFontInfo& b) {
  return a.Size == b.Size && a.Style == b.Style && a.Charset == b.Charset && a.Name == b.Name;
}

}  // namespace

PdfPortableText::PdfPortableText(PdfEmbeddedFonts& fonts) : fonts_(fonts) {}

PdfPortableText::~PdfPortableText() = default;

PdfPortableText::FontCache& PdfPortableText::CacheFor(const TOxvtFontInfo& font) {
  if (last_cache_ && same_glyphs(last_cache_->key, font)) return *last_cache_;
  for (const auto& cache : caches_) {
    if (same_glyphs(cache->key, font)) return *(last_cache_ = cache.get());
  }
  auto cache = std::make_unique<FontCache>();
  cache->key = glyph_key(font);
  cache->font = LayoutFont(font);
  caches_.push_back(std::move(cache));
  return *(last_cache_ = caches_.back().get());
}

const PdfPortableText::Character& PdfPortableText::Lookup(FontCache& cache, std::string_view c) {
  Character* entry;
  if (c.size() == 1) {
    entry = &cache.bytes[static_cast<unsigned char>(c[0])];
  } else {
    uint32_t code = 0;
    for (char byte : c) code = code << 8 | static_cast<unsigned char>(byte);
    entry = &cache.others[code];
  }
  if (entry->font >= 0) return *entry;
  // Registering the glyph again later would change nothing: the first advance of a glyph is
  // the one its font keeps.
  const Font& font = *cache.font;
  const GlyphRef glyph = font.glyph(c);
  entry->advance = font.char_width(c);
  entry->font = static_cast<int16_t>(fonts_.Use(cache.font, glyph, entry->advance));
  entry->gid = static_cast<uint16_t>(std::min(glyph.glyph_index, 0xFFFFu));
  entry->synthetic_bold = glyph.synthetic_bold;
  entry->synthetic_italic = glyph.synthetic_italic;
  return *entry;
}

void PdfPortableText::AddLine(const TvtView& view, const TOxvtTextRec& line) {
  FontCache& cache = CacheFor(line.Font);
  const Font& font = *cache.font;
  const int16_t em = static_cast<int16_t>(font.metrics().em_size);
  // The first character goes on with the last line when it continues it; a character left of
  // the one before (spacing pulled back) starts a text object of its own.
  bool first = true;
  PlaceCharacters(view, line, font, TvtGlobals::Get().fonts->code_page(),
                  [&](std::string_view c, int, double x) {
                    const Character& character = Lookup(cache, c);
                    const bool continues = !page_.lines.empty() && x >= page_.glyphs.back().x &&
                                           (!first || ContinuesLastLine(line));
                    first = false;
                    if (!continues) StartLine(line, font.metrics());
                    PdfGlyph& glyph = page_.glyphs.emplace_back();
                    glyph.x = x;
                    glyph.advance = character.advance;
                    glyph.gid = character.gid;
                    glyph.font = character.font;
                    glyph.em = em;
                    glyph.synthetic_bold = character.synthetic_bold;
                    glyph.synthetic_italic = character.synthetic_italic;
                    page_.lines.back().end = static_cast<uint32_t>(page_.glyphs.size());
                  });
}

bool PdfPortableText::ContinuesLastLine(const TOxvtTextRec& line) const {
  const PdfTextLine& last = page_.lines.back();
  return last.y == line.Y && last_draw_rect_ == line.DrawRect &&
         last.text_scale == line.TextScale && last.char_spacing == line.CharSpacing &&
         last_font_ == line.Font;
}

void PdfPortableText::StartLine(const TOxvtTextRec& line, const FontMetrics& m) {
  PdfTextLine& added = page_.lines.emplace_back();
  added.y = line.Y;
  added.text_scale = line.TextScale;
  added.char_spacing = line.CharSpacing;
  added.color = line.Font.Color;
  added.style = line.Font.Style;
  added.ascent = static_cast<int16_t>(m.ascent);
  added.underline_position = static_cast<int16_t>(m.underscore_position);
  added.underline_size = static_cast<int16_t>(std::max(1, m.underscore_size));
  added.strikeout_position = static_cast<int16_t>(m.strikeout_position);
  added.strikeout_size = static_cast<int16_t>(std::max(1, m.strikeout_size));
  added.first = added.end = static_cast<uint32_t>(page_.glyphs.size());
  if (!(last_font_ == line.Font)) last_font_ = line.Font;
  last_draw_rect_ = line.DrawRect;
}

PdfPageTexts PdfPortableText::Take() {
  PdfPageTexts taken = std::move(page_);
  page_ = {};
  page_.lines.reserve(taken.lines.size());
  page_.glyphs.reserve(taken.glyphs.size());
  return taken;
}

}  // namespace zr
