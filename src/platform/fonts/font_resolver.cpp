#include "platform/fonts/font_resolver.h"

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/fonts/face_substitutes.h"
#include "platform/fonts/fontconfig_handles.h"
#include "platform/fonts/freetype_handles.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZR_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZR_LEAK_CHECKS 1
#endif
#endif
#ifdef ZR_LEAK_CHECKS
#include <sanitizer/lsan_interface.h>
#endif

namespace zr {
namespace {

// Sizes change with zoom and export resolution; past this many the font cache starts anew
// (fonts in use stay alive through their shared pointers).
constexpr size_t kMaxCachedFonts = 256;
// Face names come from the files too; most reports name a handful.
constexpr size_t kMaxCachedFaces = 256;

// Fontconfig holds parts of a loaded configuration (the patterns of its <rejectfont>
// rules) through offsets instead of pointers. LeakSanitizer cannot follow those, so while a
// configuration is in use every leak check would report them; they are freed with the
// configuration (FcConfigHandle).
FcConfigHandle load_config() {
#ifdef ZR_LEAK_CHECKS
  __lsan::ScopedDisabler held_by_offsets;
#endif
  return FcConfigHandle(FcInitLoadConfigAndFonts());
}

const FcChar8* fc_text(const std::string& text) {
  return reinterpret_cast<const FcChar8*>(text.c_str());
}

FcPatternHandle query_pattern(const std::vector<std::string>& families, bool bold, bool italic) {
  FcPatternHandle pattern(FcPatternCreate());
  if (!pattern) throw ZorelError("fontconfig: out of memory");
  for (const std::string& family : families)
    FcPatternAddString(pattern.get(), FC_FAMILY, fc_text(family));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  return pattern;
}

bool family_among(FcPattern* font, const std::vector<std::string>& families) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    for (const std::string& family : families)
      if (lower_ascii(reinterpret_cast<const char*>(name)) == lower_ascii(family)) return true;
  return false;
}

ResolvedFace face_of(FcPattern* font, bool bold, bool italic) {
  ResolvedFace face;
  FcChar8* text = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &text) == FcResultMatch)
    face.file = reinterpret_cast<const char*>(text);
  if (FcPatternGetString(font, FC_FAMILY, 0, &text) == FcResultMatch)
    face.family = reinterpret_cast<const char*>(text);
  int number = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &number) == FcResultMatch) face.index = number;
  int weight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
  int slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(font, FC_SLANT, 0, &slant);
  // Fontconfig's synthetic rules rewrite weight and slant of a font that lacks the style and
  // mark it with embolden or a shear matrix instead.
  FcBool embolden = FcFalse;
  FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
  FcMatrix* matrix = nullptr;
  bool sheared =
      FcPatternGetMatrix(font, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix && matrix->xy != 0;
  face.synthetic_bold = bold && (weight < FC_WEIGHT_DEMIBOLD || embolden);
  face.synthetic_italic = italic && (slant == FC_SLANT_ROMAN || sheared);
  FcCharSet* chars = nullptr;
  face.has_hangul = FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) == FcResultMatch &&
                    FcCharSetHasChar(chars, 0xAC00);
  return face;
}

}  // namespace

struct FontResolver::Impl {
  int code_page;
  FcConfigHandle config;
  std::shared_ptr<const FreeTypeLibrary> library;
  std::unordered_map<std::string, ResolvedFace> faces;
  std::unordered_map<std::string, std::shared_ptr<const Font>> fonts;
  std::optional<ResolvedFace> fallbacks[4];  // by bold and italic; an empty file = none
  // The fonts asked for last: a page asks for the same few fonts over and over, and
  // comparing the selection is cheaper than building its key.
  std::array<std::pair<FontSelection, std::shared_ptr<const Font>>, 8> recent;
  size_t next_recent = 0;

  // The best installed match; `exact` tells whether its family is one of those asked for.
  // The best installed match; `exact` tells whether its family is one of those asked for,
  // `own` whether it is the last of them (the face name itself).
  std::optional<ResolvedFace> match(const std::vector<std::string>& families, bool bold,
                                    bool italic, bool* exact, const char* language = nullptr,
                                    bool* own = nullptr) {
    FcPatternHandle pattern = query_pattern(families, bold, italic);
    if (language) FcPatternAddString(pattern.get(), FC_LANG, fc_text(language));
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternHandle font(FcFontMatch(config.get(), pattern.get(), &result));
    if (!font) return std::nullopt;
    if (exact) *exact = family_among(font.get(), families);
    if (own) *own = !families.empty() && family_among(font.get(), {families.back()});
    ResolvedFace face = face_of(font.get(), bold, italic);
    if (face.file.empty()) return std::nullopt;
    return face;
  }

  ResolvedFace resolve(std::string_view face_name, bool bold, bool italic, uint8_t charset) {
    std::vector<std::string> families = substitute_families(ansi_to_utf8(face_name, code_page));
    bool exact = false, own = false;
    if (!families.empty()) {
      std::optional<ResolvedFace> face = match(families, bold, italic, &exact, nullptr, &own);
      if (face && exact) {
        face->match = own ? FaceMatch::Installed : FaceMatch::Substitute;
        return *face;
      }
    }
    std::optional<ResolvedFace> face = match(default_families(charset), bold, italic, nullptr);
    if (!face) throw IoError("no font is installed");
    face->match = FaceMatch::Fallback;
    return *face;
  }

  // A face covering the whole Korean code page in the same style, for glyphs the chosen face
  // lacks.
  std::optional<ResolvedFace> korean_fallback(bool bold, bool italic) {
    std::optional<ResolvedFace>& cached = fallbacks[(bold ? 2 : 0) + (italic ? 1 : 0)];
    if (!cached) {
      cached = match({kKoreanFallbackFamily}, bold, italic, nullptr, "ko");
      if (!cached) cached = ResolvedFace{};
    }
    if (cached->has_hangul) return cached;
    return std::nullopt;
  }
};

FontResolver::FontResolver(int code_page) : impl_(std::make_unique<Impl>()) {
  impl_->code_page = code_page;
  impl_->config = load_config();
  if (!impl_->config) throw ZorelError("fontconfig cannot load its configuration");
  impl_->library = std::make_shared<const FreeTypeLibrary>();
}

FontResolver::~FontResolver() = default;

int FontResolver::code_page() const {
  return impl_->code_page;
}

const ResolvedFace& FontResolver::resolve_face(std::string_view face_name, bool bold, bool italic,
                                               uint8_t charset) {
  // The charset only matters for faces nothing answers to; three classes cover it.
  char charset_class = charset == kSymbolCharset ? 's' : charset == kAnsiCharset ? 'a' : 'k';
  std::string key = ansi_lower(face_name, impl_->code_page);
  key += '\0';
  key += bold ? 'b' : '-';
  key += italic ? 'i' : '-';
  key += charset_class;
  auto found = impl_->faces.find(key);
  if (found != impl_->faces.end()) return found->second;
  ResolvedFace face = impl_->resolve(face_name, bold, italic, charset);
  if (impl_->faces.size() >= kMaxCachedFaces) impl_->faces.clear();
  return impl_->faces.emplace(std::move(key), std::move(face)).first->second;
}

std::shared_ptr<const Font> FontResolver::font(const FontSelection& spec) {
  for (const auto& [selection, font] : impl_->recent)
    if (font && selection == spec) return font;
  std::shared_ptr<const Font> font = cached_font(spec);
  impl_->recent[impl_->next_recent] = {spec, font};
  impl_->next_recent = (impl_->next_recent + 1) % impl_->recent.size();
  return font;
}

std::shared_ptr<const Font> FontResolver::cached_font(const FontSelection& spec) {
  std::string key = ansi_lower(spec.name, impl_->code_page);
  for (int number : {spec.height, int{spec.style}, int{spec.charset}, spec.escapement, spec.width})
    key += '\0' + std::to_string(number);
  auto found = impl_->fonts.find(key);
  if (found != impl_->fonts.end()) return found->second;

  const ResolvedFace& face = resolve_face(spec.name, spec.bold(), spec.italic(), spec.charset);
  // Even Korean faces may lack Hanja and symbols of the code page; the fallback face is only
  // opened when a character needs it.
  std::optional<ResolvedFace> fallback = impl_->korean_fallback(spec.bold(), spec.italic());
  if (fallback && fallback->file == face.file && fallback->index == face.index) fallback.reset();
  auto font = std::make_shared<const Font>(impl_->library, spec, face, fallback, impl_->code_page);
  if (impl_->fonts.size() >= kMaxCachedFonts) impl_->fonts.clear();
  impl_->fonts.emplace(std::move(key), font);
  return font;
}

}  // namespace zr
