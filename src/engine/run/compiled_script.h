#pragma once
// The layout of a compiled script: an ordinary list of lines, each a flat instruction whose
// first byte says what it is. Expressions in it are postfix forms (see parser.h).
//
//   code 1, target low, target high, postfix   conditional jump: to target when the value is 0
//   code 2, target low, target high            jump
//   code 3, postfix                             evaluate and discard (a procedure call)
//   name, one blank, postfix                    assignment
//
// Targets are 0-based line indexes; a target at or past the line count ends the run.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/errors.h"

namespace zr::script {

inline constexpr char kConditionalJump = 1;
inline constexpr char kJump = 2;
inline constexpr char kEvaluate = 3;

// Targets are two bytes, so a compiled script holds at most this many lines.
inline constexpr size_t kMaxLines = 0xFFFF;

inline std::string target_bytes(uint16_t target) {
  return {static_cast<char>(target & 0xFF), static_cast<char>(target >> 8)};
}

// The target of a code-1 or code-2 line. Raises ZorelError for a line too short to hold one.
inline size_t jump_target(std::string_view line) {
  if (line.size() < 3) throw ZorelError("Malformed compiled script line");
  return static_cast<unsigned char>(line[1]) + 256u * static_cast<unsigned char>(line[2]);
}

}  // namespace zr::script
