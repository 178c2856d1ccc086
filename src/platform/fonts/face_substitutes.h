#pragma once
// The Windows face names reports use and the installed families that stand in for them.
// Metric-compatible families come first, so that text measures as it did on Windows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// Families to try for a Windows face name given in UTF-8, best first, ending with the name
// itself. Names compare case-insensitively (ASCII letters) and ignore surrounding blanks and
// the "@" of vertical faces.
std::vector<std::string> substitute_families(std::string_view face_utf8);

// Families for a face that nothing installed answers to, chosen by character set: symbol
// fonts for the symbol set, Latin sans for ANSI, Korean for the default and Hangul sets
// (the engine's default code page is Korean).
std::vector<std::string> default_families(uint8_t charset);

// The family asked for when a font lacks Hangul or Hanja glyphs.
inline constexpr const char* kKoreanFallbackFamily = "NanumGothic";

}  // namespace zr
