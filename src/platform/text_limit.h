#pragma once
// The longest text the engine builds from report input. Forms and scripts can make text grow
// without end (a loop that adds a text to itself doubles it on every turn); every operation
// that builds text (concatenation, the string functions, memo text) stops at this length
// with "Text too long" instead of taking all the memory of the machine.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace zr {

inline constexpr size_t kMaxTextLength = 16 * 1024 * 1024;

[[noreturn]] inline void text_too_long() {
  throw ZorelError("Text too long");
}

// Raises ZorelError "Text too long" when a text of `length` bytes would be too long.
inline void check_text_length(size_t length) {
  if (length > kMaxTextLength) text_too_long();
}

// The length of lines as one text, each followed by CR LF, as a memo's text is measured.
inline size_t joined_length(const std::vector<std::string>& lines) {
  size_t length = 0;
  for (const std::string& line : lines) length += line.size() + 2;
  return length;
}

}  // namespace zr
