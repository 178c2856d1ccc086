#pragma once
// The logical font a report asks for, as GDI's LOGFONT carries it: a face name, a height in
// device pixels, style bits, a character set, an escapement and an average-width override.
// A plain value; the resolver turns it into an installed font.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zr {

// Style bits in the order of the classic TFontStyles set.
inline constexpr uint8_t kFsBold = 1;
inline constexpr uint8_t kFsItalic = 2;
inline constexpr uint8_t kFsUnderline = 4;
inline constexpr uint8_t kFsStrikeOut = 8;

// Character sets of the fonts the engine meets.
inline constexpr uint8_t kAnsiCharset = 0;
inline constexpr uint8_t kDefaultCharset = 1;
inline constexpr uint8_t kSymbolCharset = 2;
inline constexpr uint8_t kHangulCharset = 129;

struct FontSelection {
  std::string name = "Arial";  // face name, ANSI code page bytes
  // Device pixels with GDI's sign: negative = character height (the em size), positive = cell
  // height (ascent + descent), 0 = the default height of 12 pixels em.
  int height = -12;
  uint8_t style = 0;  // kFs* bits
  uint8_t charset = kDefaultCharset;
  int escapement = 0;  // tenths of a degree, counter-clockwise; carried for the canvas
  // 0 = natural width; otherwise the requested average character width in pixels (the sign is
  // ignored), the glyphs scaled horizontally to reach it (GDI's lfWidth, for narrowed fonts).
  int width = 0;

  bool bold() const { return style & kFsBold; }
  bool italic() const { return style & kFsItalic; }
  bool underline() const { return style & kFsUnderline; }
  bool strike_out() const { return style & kFsStrikeOut; }

  bool operator==(const FontSelection&) const = default;
};

}  // namespace zr
