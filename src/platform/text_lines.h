#pragma once
// Trimming and line splitting of the texts the system receives (data pages, lists, packets).
// Bytes are taken as they are, in the ANSI code page; nothing is decoded.

#include <string>
#include <string_view>
#include <vector>

namespace zr {

// True for the bytes that trimming drops: blanks and control characters (code 32 or less).
constexpr bool is_blank_byte(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// Removes every leading and trailing byte of code 32 or less.
std::string_view trim_blanks(std::string_view text);

// Splits at CR LF, at a lone LF and at a lone CR. A line break at the very end does not start
// an empty last line, so "a\r\n" is one line and "" is none; "a\r\n\r\n" is "a" and "".
std::vector<std::string> split_lines(std::string_view text);

// A text of several lines (messages whose parts the engine separates with CR) as one line for
// a terminal or a log line: the trimmed non-empty lines joined with " | ".
std::string single_line(std::string_view text);

}  // namespace zr
