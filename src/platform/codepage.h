#pragma once
// Text inside the engine is 8-bit in an ANSI code page (default 949, Korean), kept as bytes
// in std::string. This module classifies bytes, changes case and converts to and from
// UTF-8/UTF-16 at the edges. Double-byte characters are never split.

#include <optional>
#include <string>
#include <string_view>

namespace zr {

inline constexpr int kDefaultAnsiCodePage = 949;

// True when `byte` starts a two-byte character in `code_page` (949, 936, 950, 932); always
// false for single-byte code pages.
bool is_lead_byte(unsigned char byte, int code_page = kDefaultAnsiCodePage);

// Length in bytes (1 or 2) of the character starting at text[pos]. A lead byte at the very
// end of the text counts as one byte.
size_t char_length(std::string_view text, size_t pos, int code_page = kDefaultAnsiCodePage);

// Byte-wise case change of the letters a-z/A-Z only, as the system's plain UpperCase and
// LowerCase do. Safe for section and component names; not for text with double-byte
// characters (a trail byte may be a letter).
std::string upper_ascii(std::string_view text);
std::string lower_ascii(std::string_view text);

// Locale-aware case change: skips the trail bytes of double-byte characters; in single-byte
// code pages also changes accented letters.
std::string ansi_upper(std::string_view text, int code_page = kDefaultAnsiCodePage);
std::string ansi_lower(std::string_view text, int code_page = kDefaultAnsiCodePage);

// Case-insensitive equality of a-z only (the way component and field names compare).
bool same_text_ascii(std::string_view a, std::string_view b);

// Conversions. Characters that the target cannot represent become '?'; malformed input
// bytes become U+FFFD (to UTF-8/16) or '?' (to ANSI). They never throw.
std::string ansi_to_utf8(std::string_view ansi, int code_page = kDefaultAnsiCodePage);
// As ansi_to_utf8, but nullopt when any byte sequence is malformed in `code_page`, so a
// caller can tell whether text really is in that code page.
std::optional<std::string> try_ansi_to_utf8(std::string_view ansi,
                                            int code_page = kDefaultAnsiCodePage);
std::string utf8_to_ansi(std::string_view utf8, int code_page = kDefaultAnsiCodePage);
std::u16string ansi_to_utf16(std::string_view ansi, int code_page = kDefaultAnsiCodePage);
std::string utf16_to_ansi(std::u16string_view utf16, int code_page = kDefaultAnsiCodePage);

// Converts `bytes` from the encoding named `charset` (an iconv name such as "EUC-KR",
// "windows-1252", "UTF-16") to UTF-8. Throws ZorelError when the name is unknown.
std::string charset_to_utf8(std::string_view bytes, const std::string& charset);

bool is_valid_utf8(std::string_view bytes);

// The OEM code page that goes with an ANSI code page (949 -> 949, 1252 -> 437, ...), and the
// conversion of ANSI text to it for plain-text exports.
int oem_code_page_for(int ansi_code_page);
std::string ansi_to_oem(std::string_view ansi, int code_page = kDefaultAnsiCodePage);

}  // namespace zr
