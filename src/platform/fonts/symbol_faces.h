#pragma once
// Symbol fonts by face name. Windows' symbol faces (Wingdings, Webdings, Symbol) read their
// text as single bytes whatever character set a report asks for; their replacements here are
// Unicode fonts, so the byte codes reports use are mapped to the Unicode characters that look
// the same.

#include <optional>
#include <string_view>

namespace zr {

// Whether `face` (ANSI bytes, any case) is a symbol face that reads text as single bytes.
bool IsSymbolFace(std::string_view face);
// The Unicode character shown for byte `code` of symbol face `face`; nullopt where no
// equivalent is listed (the byte then shows as the Latin-1 character).
std::optional<char32_t> SymbolFaceCodePoint(std::string_view face, unsigned char code);

}  // namespace zr
