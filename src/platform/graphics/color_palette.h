#pragma once
// A palette of at most N colours for an image, for the palette-based writers (BMP 4/8-bit,
// GIF), and the map from the image's colours to palette indices. Colours are the system's
// values (red in the low byte). Building is deterministic: the same colours in any order
// give the same palette.

#include <cstdint>
#include <span>
#include <vector>

namespace zr {

class ColorPalette {
 public:
  // When `colors` holds no more than `max_colors` distinct values the palette is exactly
  // those values, ascending; otherwise it is made by median cut over a histogram of 5 bits
  // per channel. `max_colors` is 1..256; no colours give an empty palette.
  static ColorPalette build(std::span<const uint32_t> colors, int max_colors);

  const std::vector<uint32_t>& colors() const { return colors_; }
  int size() const { return static_cast<int>(colors_.size()); }
  bool exact() const { return exact_; }
  // The entry equal to `color`, else the nearest one (0 for an empty palette).
  uint8_t index_of(uint32_t color) const;

 private:
  uint8_t nearest(uint32_t color) const;

  std::vector<uint32_t> colors_;
  bool exact_ = true;
  // Nearest entry per 15-bit histogram cell, filled on first use; -1 unknown.
  mutable std::vector<int16_t> cell_index_;
};

}  // namespace zr
