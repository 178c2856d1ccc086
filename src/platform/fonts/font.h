#pragma once
// A font at a pixel size: a FreeType face with GDI-like metrics and advances. Every width is
// in whole device pixels, taken from the hinted advance and rounded, as GDI measures text.
// Text is ANSI bytes in the font's code page; a double-byte character is one character.
//
// Glyphs the face lacks come from a Korean fallback face when it has them (GDI's font
// linking); anything else uses the face's missing glyph. Fonts come from FontResolver and are
// shared immutable objects; the caches inside are not thread-safe.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/fonts/font_metrics.h"
#include "platform/fonts/font_selection.h"
#include "platform/fonts/freetype_handles.h"
#include "platform/fonts/resolved_face.h"

namespace zr {

// What a renderer needs to draw one character: the face (owned by the Font; valid while the
// Font lives, sized to the font's size), its glyph index and the style to synthesise. A
// renderer may resize the face (cairo-ft does); the font restores its size before measuring.
// A renderer that wants its own face opens ResolvedFace::file at ResolvedFace::index.
struct GlyphRef {
  FT_Face face = nullptr;
  unsigned glyph_index = 0;  // 0 = the face's missing glyph
  char32_t code_point = 0;
  bool synthetic_bold = false;
  bool synthetic_italic = false;
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

class Font {
 public:
  // Opens `face` (and, when needed, `fallback`) at the size of `spec`. Raises IoError when the
  // file cannot be opened. Normally called by FontResolver.
  Font(std::shared_ptr<const FreeTypeLibrary> library, const FontSelection& spec,
       const ResolvedFace& face, std::optional<ResolvedFace> fallback, int code_page);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const FontSelection& spec() const { return spec_; }
  const ResolvedFace& face() const { return face_; }
  // The face glyphs missing from face() come from, when there is one.
  const std::optional<ResolvedFace>& fallback() const { return fallback_; }
  const FontMetrics& metrics() const { return metrics_; }
  // The code page its text is read in: the resolver's, or a single-byte one for symbol fonts,
  // whose every byte is a character.
  int code_page() const { return code_page_; }

  // The primary FreeType face, sized; for cairo_ft_font_face_create_for_ft_face.
  FT_Face ft_face() const { return primary_.get(); }

  // The Unicode code point of one ANSI character (1 or 2 bytes; more are ignored).
  char32_t code_point(std::string_view ansi_char) const;
  // The face and glyph that draw one ANSI character.
  GlyphRef glyph(std::string_view ansi_char) const;

  // Advance of one ANSI character in pixels.
  int char_width(std::string_view ansi_char) const;
  // Widths of the single-byte codes 32..255 (lead bytes of the code page measure as the
  // missing glyph).
  std::array<int, 224> char_widths_32_255() const;
  // Sum of the advances plus `char_extra` per character (GDI's character extra spacing);
  // the height is the cell height.
  TextExtent text_extent(std::string_view ansi, int char_extra = 0) const;
  int text_width(std::string_view ansi, int char_extra = 0) const {
    return text_extent(ansi, char_extra).width;
  }

 private:
  struct FaceScale {
    FT_Fixed x = 0;
    FT_Fixed y = 0;
  };
  void size_face(FT_Face face, FaceScale& scale) const;
  void keep_size(FT_Face face) const;
  void compute_metrics();
  FT_Face fallback_face() const;
  GlyphRef find_glyph(std::string_view ansi_char) const;
  int advance_of(const GlyphRef& glyph) const;

  std::shared_ptr<const FreeTypeLibrary> library_;  // first: released after the faces
  FontSelection spec_;
  ResolvedFace face_;
  std::optional<ResolvedFace> fallback_;
  int code_page_;
  FtFaceHandle primary_;
  mutable FtFaceHandle fallback_ft_;
  mutable bool fallback_tried_ = false;
  mutable FaceScale primary_scale_;
  mutable FaceScale fallback_scale_;
  int64_t x_size_26_6_ = 0;  // horizontal and vertical em in 1/64 pixel
  int64_t y_size_26_6_ = 0;
  FontMetrics metrics_;
  mutable std::unordered_map<uint32_t, GlyphRef> glyphs_;       // by ANSI character code
  mutable std::unordered_map<uint32_t, int> widths_;            // double-byte characters
  mutable std::array<int, 256> byte_widths_ = filled_widths();  // -1: not measured yet

  static constexpr std::array<int, 256> filled_widths() {
    std::array<int, 256> widths{};
    widths.fill(-1);
    return widths;
  }
};

}  // namespace zr
