#include "platform/fonts/font.h"
#include "platform/fonts/symbol_faces.h"

#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {
namespace {

constexpr int kDefaultEmPixels = 12;
// Far beyond any report font; keeps sizes inside FreeType's range and the arithmetic small.
constexpr int64_t kMaxPixels = 16384;

// Weights of the lower-case letters a..z and the blank in the classic OS/2 average width.
constexpr int kLetterWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6, 35, 20,
                                    56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
constexpr int kBlankWeight = 166;

// Rounds half up, as FreeType's (x + 32) >> 6 does.
int round_half_up(double value) {
  return static_cast<int>(std::floor(value + 0.5));
}

int64_t advance_units(FT_Face face, char32_t code) {
  FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE) != 0) return -1;
  return face->glyph->metrics.horiAdvance;
}

// The average character width in font units. Windows' core fonts carry the classic weighted
// average of a..z and the blank even in newer OS/2 tables, while their metric-compatible
// substitutes carry the average of all glyphs that newer tables define; recomputing the
// classic value for those tables gives the width GDI reports for the original font.
int64_t average_width_units(FT_Face face, const TT_OS2* os2) {
  if (os2 && os2->version <= 2 && os2->xAvgCharWidth > 0) return os2->xAvgCharWidth;
  int64_t sum = 0;
  bool complete = true;
  for (int i = 0; i < 26 && complete; ++i) {
    int64_t advance = advance_units(face, static_cast<char32_t>('a' + i));
    complete = advance >= 0;
    sum += kLetterWeights[i] * advance;
  }
  int64_t blank = advance_units(face, U' ');
  if (complete && blank >= 0) return (sum + kBlankWeight * blank) / 1000;
  if (os2 && os2->xAvgCharWidth > 0) return os2->xAvgCharWidth;
  return face->units_per_EM / 2;
}

int64_t glyph_top_units(FT_Face face, char32_t code) {
  FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE) != 0) return 0;
  return face->glyph->metrics.horiBearingY;
}

// GDI's family from the PANOSE family kind and serif style, then from the IBM family class.
uint8_t family_of(const TT_OS2* os2, bool fixed) {
  if (!os2) return fixed ? kFamilyModern : kFamilyDontCare;
  uint8_t kind = os2->panose[0];
  if (kind == 3) return kFamilyScript;
  if (kind == 4) return kFamilyDecorative;
  if (kind > 5) return kFamilyDontCare;
  if (fixed) return kFamilyModern;
  uint8_t serif = os2->panose[1];
  if (serif >= 2 && serif <= 10) return kFamilyRoman;
  if (serif >= 11 && serif <= 15) return kFamilySwiss;
  // Class 0 none, 1-5 and 7 serifs, 8 sans serif, 9 ornamentals, 10 scripts, 12 symbolic.
  constexpr uint8_t kByClass[13] = {
      kFamilyDontCare, kFamilyRoman,    kFamilyRoman,     kFamilyRoman, kFamilyRoman,
      kFamilyRoman,    kFamilyDontCare, kFamilyRoman,     kFamilySwiss, kFamilyDecorative,
      kFamilyScript,   kFamilyDontCare, kFamilyDecorative};
  int family_class = os2->sFamilyClass >> 8;
  return family_class >= 0 && family_class < 13 ? kByClass[family_class] : kFamilyDontCare;
}

// The character set GDI reports for the default set under a code page.
uint8_t charset_of_code_page(int code_page) {
  constexpr std::pair<int, uint8_t> kCharsets[] = {
      {949, 129},  {932, 128},  {936, 134},  {950, 136},  {1250, 238}, {1251, 204}, {1253, 161},
      {1254, 162}, {1255, 177}, {1256, 178}, {1257, 186}, {1258, 163}, {874, 222}};
  for (const auto& [page, charset] : kCharsets)
    if (page == code_page) return charset;
  return kAnsiCharset;
}

uint32_t char_code(std::string_view ansi_char) {
  if (ansi_char.empty()) return 0;
  uint32_t code = static_cast<unsigned char>(ansi_char[0]);
  if (ansi_char.size() >= 2) code = code << 8 | static_cast<unsigned char>(ansi_char[1]);
  return code;
}

}  // namespace

Font::Font(std::shared_ptr<const FreeTypeLibrary> library, const FontSelection& spec,
           const ResolvedFace& face, std::optional<ResolvedFace> fallback, int code_page)
    : library_(std::move(library)),
      spec_(spec),
      face_(face),
      fallback_(std::move(fallback)),
      code_page_(spec.charset == kSymbolCharset || IsSymbolFace(spec.name) ? 1252 : code_page),
      primary_(open_face(*library_, face.file, face.index)) {
  compute_metrics();
}

Font::~Font() = default;

void Font::size_face(FT_Face face, FaceScale& scale) const {
  if (FT_IS_SCALABLE(face)) {
    FT_Set_Char_Size(face, x_size_26_6_, y_size_26_6_, 72, 72);
    scale = {face->size->metrics.x_scale, face->size->metrics.y_scale};
    return;
  }
  // A bitmap-only face: the strike nearest to the em size.
  int best = 0;
  for (int i = 1; i < face->num_fixed_sizes; ++i)
    if (std::abs(face->available_sizes[i].y_ppem - y_size_26_6_) <
        std::abs(face->available_sizes[best].y_ppem - y_size_26_6_))
      best = i;
  if (face->num_fixed_sizes > 0) FT_Select_Size(face, best);
  scale = {face->size->metrics.x_scale, face->size->metrics.y_scale};
}

void Font::keep_size(FT_Face face) const {
  FaceScale& scale = face == primary_.get() ? primary_scale_ : fallback_scale_;
  if (face->size->metrics.x_scale != scale.x || face->size->metrics.y_scale != scale.y)
    size_face(face, scale);
}

void Font::compute_metrics() {
  FT_Face face = primary_.get();
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  const int64_t upem = face->units_per_EM > 0 ? face->units_per_EM : 1000;

  int64_t win_ascent = os2 ? os2->usWinAscent : (hhea ? hhea->Ascender : face->ascender);
  int64_t win_descent = os2 ? os2->usWinDescent : (hhea ? -hhea->Descender : -face->descender);
  if (win_ascent + win_descent <= 0) {
    win_ascent = upem * 4 / 5;
    win_descent = upem - win_ascent;
  }
  const int64_t cell_units = win_ascent + win_descent;

  FontMetrics& m = metrics_;
  int64_t requested = spec_.height == 0 ? -kDefaultEmPixels : spec_.height;
  if (requested < 0) {
    int64_t em = std::min<int64_t>(-requested, kMaxPixels);
    m.em_size = static_cast<int>(em);
    m.ascent = round_half_up(static_cast<double>(win_ascent) * em / upem);
    m.descent = round_half_up(static_cast<double>(win_descent) * em / upem);
  } else {
    // A cell height: the em follows from the OS/2 windows ascent and descent.
    int64_t cell = std::min<int64_t>(requested, kMaxPixels);
    m.em_size = std::max(1, round_half_up(static_cast<double>(cell) * upem / cell_units));
    m.ascent = round_half_up(static_cast<double>(win_ascent) * cell / cell_units);
    m.descent = static_cast<int>(cell) - m.ascent;
  }
  m.height = m.ascent + m.descent;
  m.internal_leading = m.height - m.em_size;
  m.units_per_em = static_cast<int>(upem);

  int64_t average_units = average_width_units(face, os2);
  y_size_26_6_ = int64_t{m.em_size} * 64;
  x_size_26_6_ = y_size_26_6_;
  // GDI takes the width's magnitude.
  const int64_t width = std::min<int64_t>(std::llabs(int64_t{spec_.width}), kMaxPixels);
  if (width > 0 && average_units > 0) {
    x_size_26_6_ = std::clamp<int64_t>(width * 64 * upem / average_units, 1, kMaxPixels * 64);
  }
  size_face(face, primary_scale_);

  const double y_scale = static_cast<double>(m.em_size) / upem;
  const double x_scale = static_cast<double>(x_size_26_6_) / 64.0 / upem;
  auto sy = [&](int64_t units) { return round_half_up(units * y_scale); };
  auto sx = [&](int64_t units) { return round_half_up(units * x_scale); };

  if (hhea) {
    int64_t gap = hhea->Line_Gap - (cell_units - (hhea->Ascender - hhea->Descender));
    m.external_leading = std::max(0, sy(gap));
  }
  const int extra = face_.synthetic_bold ? 1 : 0;
  m.ave_char_width = width > 0 ? static_cast<int>(width) : std::max(1, sx(average_units)) + extra;
  m.max_char_width = std::max(1, sx(face->bbox.xMax - face->bbox.xMin)) + extra;
  m.weight = spec_.bold() ? 700 : (os2 && os2->usWeightClass ? os2->usWeightClass : 400);
  m.italic = spec_.italic();
  m.underlined = spec_.underline();
  m.struck_out = spec_.strike_out();
  m.charset = spec_.charset == kDefaultCharset ? charset_of_code_page(code_page_) : spec_.charset;

  bool fixed = FT_IS_FIXED_WIDTH(face) || (os2 && os2->panose[3] == 9);
  m.is_outline = FT_IS_SCALABLE(face);
  m.pitch_and_family = family_of(os2, fixed) | (fixed ? 0 : kVariablePitchBit) |
                       (m.is_outline ? kVectorBit | kTrueTypeBit : 0);

  m.italic_angle = post ? round_half_up(post->italicAngle * 10.0 / 65536.0) : 0;
  int64_t cap = os2 && os2->version >= 2 && os2->sCapHeight > 0 ? os2->sCapHeight
                                                                : glyph_top_units(face, U'H');
  int64_t x_height =
      os2 && os2->version >= 2 && os2->sxHeight > 0 ? os2->sxHeight : glyph_top_units(face, U'x');
  m.cap_height = sy(cap);
  m.x_height = sy(x_height);
  // Sizes stay at least one pixel so that lines drawn from them are visible.
  int64_t underline = post && post->underlineThickness > 0 ? post->underlineThickness : upem / 20;
  m.underscore_size = std::max(1, sy(underline));
  m.underscore_position = post ? sy(post->underlinePosition) : -std::max(1, m.descent / 2);
  if (os2 && os2->yStrikeoutSize > 0) {
    m.strikeout_size = std::max(1, sy(os2->yStrikeoutSize));
    m.strikeout_position = sy(os2->yStrikeoutPosition);
  } else {
    m.strikeout_size = m.underscore_size;
    m.strikeout_position = m.x_height > 0 ? m.x_height / 2 : m.ascent / 3;
  }
  m.box = {sx(face->bbox.xMin), sy(face->bbox.yMin), sx(face->bbox.xMax), sy(face->bbox.yMax)};
}

FT_Face Font::fallback_face() const {
  if (!fallback_tried_) {
    fallback_tried_ = true;
    if (fallback_) {
      try {
        fallback_ft_ = open_face(*library_, fallback_->file, fallback_->index);
        size_face(fallback_ft_.get(), fallback_scale_);
      } catch (const IoError&) {
        fallback_ft_.reset();  // measured with the primary face's missing glyph instead
      }
    }
  }
  return fallback_ft_.get();
}

char32_t Font::code_point(std::string_view ansi_char) const {
  if (ansi_char.empty()) return 0;
  ansi_char = ansi_char.substr(0, char_length(ansi_char, 0, code_page_));
  auto byte = static_cast<unsigned char>(ansi_char[0]);
  if (byte < 0x80) return byte;
  std::u16string text = ansi_to_utf16(ansi_char, code_page_);
  if (text.empty()) return 0xFFFD;
  char32_t first = text[0];
  if (first >= 0xD800 && first < 0xDC00 && text.size() >= 2 && text[1] >= 0xDC00 &&
      text[1] < 0xE000)
    return 0x10000 + ((first - 0xD800) << 10) + (text[1] - 0xDC00);
  return first;
}

GlyphRef Font::glyph(std::string_view ansi_char) const {
  if (ansi_char.empty())
    return {primary_.get(), 0, 0, face_.synthetic_bold, face_.synthetic_italic};
  ansi_char = ansi_char.substr(0, char_length(ansi_char, 0, code_page_));
  uint32_t code = char_code(ansi_char);
  auto cached = glyphs_.find(code);
  if (cached != glyphs_.end()) return cached->second;
  return glyphs_.emplace(code, find_glyph(ansi_char)).first->second;
}

GlyphRef Font::find_glyph(std::string_view ansi_char) const {
  FT_Face primary = primary_.get();
  GlyphRef ref{primary, 0, 0, face_.synthetic_bold, face_.synthetic_italic};
  auto first = static_cast<unsigned char>(ansi_char[0]);
  if (ansi_char.size() == 1 && is_lead_byte(first, code_page_)) return ref;  // half a character
  const bool symbol_face = IsSymbolFace(spec_.name);
  if (spec_.charset == kSymbolCharset || symbol_face) {
    // Symbol fonts map their byte codes into the private use area.
    FT_UInt index = FT_Get_Char_Index(primary, 0xF000 + first);
    if (index != 0)
      return {primary, index, 0xF000u + first, ref.synthetic_bold, ref.synthetic_italic};
  }
  const std::optional<char32_t> symbol =
      symbol_face ? SymbolFaceCodePoint(spec_.name, first) : std::nullopt;
  ref.code_point = symbol ? static_cast<uint32_t>(*symbol) : code_point(ansi_char);
  ref.glyph_index = FT_Get_Char_Index(primary, ref.code_point);
  if (ref.glyph_index != 0) return ref;
  if (FT_Face fallback = fallback_face()) {
    FT_UInt index = FT_Get_Char_Index(fallback, ref.code_point);
    if (index != 0)
      return {fallback, index, ref.code_point, fallback_->synthetic_bold,
              fallback_->synthetic_italic};
  }
  return ref;
}

int Font::advance_of(const GlyphRef& glyph) const {
  keep_size(glyph.face);
  if (FT_Load_Glyph(glyph.face, glyph.glyph_index, FT_LOAD_DEFAULT) != 0) return 0;
  int width = static_cast<int>((glyph.face->glyph->advance.x + 32) >> 6);
  if (width < 0) return 0;
  return glyph.synthetic_bold && width > 0 ? width + 1 : width;  // GDI's emboldening widens
}

int Font::char_width(std::string_view ansi_char) const {
  if (ansi_char.empty()) return 0;
  ansi_char = ansi_char.substr(0, char_length(ansi_char, 0, code_page_));
  if (ansi_char.size() == 1) {
    int& width = byte_widths_[static_cast<unsigned char>(ansi_char[0])];
    if (width < 0) width = advance_of(glyph(ansi_char));
    return width;
  }
  uint32_t code = char_code(ansi_char);
  auto cached = widths_.find(code);
  if (cached != widths_.end()) return cached->second;
  int width = advance_of(glyph(ansi_char));
  widths_.emplace(code, width);
  return width;
}

std::array<int, 224> Font::char_widths_32_255() const {
  std::array<int, 224> widths{};
  for (int code = 32; code <= 255; ++code)
    widths[code - 32] = char_width(std::string(1, static_cast<char>(code)));
  return widths;
}

TextExtent Font::text_extent(std::string_view ansi, int char_extra) const {
  TextExtent extent{0, metrics_.height};
  for (size_t pos = 0; pos < ansi.size();) {
    size_t length = char_length(ansi, pos, code_page_);
    extent.width += char_width(ansi.substr(pos, length)) + char_extra;
    pos += length;
  }
  return extent;
}

}  // namespace zr
