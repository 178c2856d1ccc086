#include "platform/canvas/color.h"

#include <array>
#include <cstdio>
#include <ostream>

namespace zr {
namespace {

constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) {
  return Color::rgb(r, g, b).value();
}

// The Windows 7 default desktop colours by COLOR_* index.
constexpr std::array<uint32_t, kSystemColorCount> kSystemColors = {
    rgb(200, 200, 200),  // 0 scroll bar
    rgb(0, 0, 0),        // 1 desktop background
    rgb(153, 180, 209),  // 2 active caption
    rgb(191, 205, 219),  // 3 inactive caption
    rgb(240, 240, 240),  // 4 menu
    rgb(255, 255, 255),  // 5 window
    rgb(100, 100, 100),  // 6 window frame
    rgb(0, 0, 0),        // 7 menu text
    rgb(0, 0, 0),        // 8 window text
    rgb(0, 0, 0),        // 9 caption text
    rgb(180, 180, 180),  // 10 active border
    rgb(244, 247, 252),  // 11 inactive border
    rgb(171, 171, 171),  // 12 application workspace
    rgb(51, 153, 255),   // 13 highlight
    rgb(255, 255, 255),  // 14 highlight text
    rgb(240, 240, 240),  // 15 button face
    rgb(160, 160, 160),  // 16 button shadow
    rgb(109, 109, 109),  // 17 grey text
    rgb(0, 0, 0),        // 18 button text
    rgb(67, 78, 84),     // 19 inactive caption text
    rgb(255, 255, 255),  // 20 button highlight
    rgb(105, 105, 105),  // 21 3D dark shadow
    rgb(227, 227, 227),  // 22 3D light
    rgb(0, 0, 0),        // 23 tooltip text
    rgb(255, 255, 225),  // 24 tooltip background
    rgb(0, 0, 0),        // 25 (unused)
    rgb(0, 102, 204),    // 26 hot-tracked item
    rgb(185, 209, 234),  // 27 active caption gradient
    rgb(215, 228, 242),  // 28 inactive caption gradient
    rgb(51, 153, 255),   // 29 menu highlight
    rgb(240, 240, 240),  // 30 menu bar
};

}  // namespace

uint32_t system_color_value(int index) {
  if (index < 0 || index >= kSystemColorCount) return 0;
  return kSystemColors[static_cast<size_t>(index)];
}

std::optional<uint32_t> Color::resolved() const {
  if (is_none()) return std::nullopt;
  if (is_system()) return system_color_value(static_cast<int>(value_ & 0x00FFFFFF));
  return value_ & 0x00FFFFFF;
}

std::ostream& operator<<(std::ostream& out, Color color) {
  if (color.is_none()) return out << "none";
  if (color.is_system()) return out << "sys" << (color.value() & 0x00FFFFFF);
  uint32_t v = color.value();
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  return out << text;
}

}  // namespace zr
