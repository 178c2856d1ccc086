#include "platform/fonts/symbol_faces.h"

#include <string>

namespace zr {
namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

struct SymbolChar {
  unsigned char code;
  char32_t code_point;
};

// The Wingdings marks reports draw: boxes, crosses and check marks.
constexpr SymbolChar kWingdings[] = {
    {0x6F, U'\u25A1'}, {0x71, U'\u2751'}, {0xA8, U'\u25FB'}, {0xFB, U'\u2718'},
    {0xFC, U'\u2714'}, {0xFD, U'\u2612'}, {0xFE, U'\u2611'},
};

}  // namespace

bool IsSymbolFace(std::string_view face) {
  const std::string name = lower(face);
  return name == "wingdings" || name == "wingdings 2" || name == "wingdings 3" ||
         name == "webdings" || name == "symbol";
}

std::optional<char32_t> SymbolFaceCodePoint(std::string_view face, unsigned char code) {
  if (lower(face) != "wingdings") return std::nullopt;
  for (const SymbolChar& c : kWingdings)
    if (c.code == code) return c.code_point;
  return std::nullopt;
}

}  // namespace zr
