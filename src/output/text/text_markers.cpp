// Output characters of the frame markers.
#include "output/text/text_markers.h"

#include <array>

namespace zr {

char MarkerChar(uint8_t marker, bool pseudographic) {
  // Index: the marker code (0-15). Lone directions cannot arise from the frame drawing.
  static constexpr std::array<unsigned char, 16> kPseudo{197, 197, 197, 192, 197, 179, 218, 195,
                                                         197, 217, 196, 193, 191, 180, 194, 197};
  marker &= 15;
  if (pseudographic) return static_cast<char>(kPseudo[marker]);
  if (marker == kMarkVertical) return '|';
  if (marker == kMarkHorizontal) return '-';
  return '+';
}

}  // namespace zr
