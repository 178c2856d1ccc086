#pragma once
// Frame markers of the text export. A marker names the directions of its strokes (1 up,
// 2 right, 4 down, 8 left); two markers meeting in one cell combine by OR, so a corner
// meeting a horizontal stroke becomes a tee and two tees a cross.

#include <cstdint>

namespace zr {

inline constexpr uint8_t kMarkUp = 1;
inline constexpr uint8_t kMarkRight = 2;
inline constexpr uint8_t kMarkDown = 4;
inline constexpr uint8_t kMarkLeft = 8;

inline constexpr uint8_t kMarkVertical = kMarkUp | kMarkDown;       // 5
inline constexpr uint8_t kMarkHorizontal = kMarkLeft | kMarkRight;  // 10
inline constexpr uint8_t kMarkTopLeft = kMarkRight | kMarkDown;     // 6
inline constexpr uint8_t kMarkTopRight = kMarkDown | kMarkLeft;     // 12
inline constexpr uint8_t kMarkBottomLeft = kMarkUp | kMarkRight;    // 3
inline constexpr uint8_t kMarkBottomRight = kMarkUp | kMarkLeft;    // 9

// The character written for a marker: box drawing bytes of OEM code page 437 with
// `pseudographic`, else "|", "-" and "+". Codes that are no stroke pair (a lone direction)
// come out as "+" or, in pseudographic, as the cross.
char MarkerChar(uint8_t marker, bool pseudographic);

}  // namespace zr
