#pragma once
// The system's colour values: 32 bits with red in the low byte, green and blue above it.
// Two special forms exist: 0x1FFFFFFF means "no colour" (nothing is painted) and
// 0x80000000 + n names system colour n, resolved through one table of the classic Windows
// desktop colours (0x8000000F, the button face, is 0xF0F0F0).

#include <cstdint>
#include <iosfwd>
#include <optional>

namespace zr {

inline constexpr uint32_t kColorNoneValue = 0x1FFFFFFF;
inline constexpr uint32_t kSystemColorFlag = 0x80000000;
inline constexpr int kSystemColorCount = 31;

class Color {
 public:
  constexpr Color() = default;
  // Any 32-bit value as the engine stores it (colours in streams are signed: cast them).
  constexpr explicit Color(uint32_t value) : value_(value) {}
  static constexpr Color rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return Color(red | (uint32_t{green} << 8) | (uint32_t{blue} << 16));
  }
  static constexpr Color none() { return Color(kColorNoneValue); }
  static constexpr Color system(int index) {
    return Color(kSystemColorFlag | static_cast<uint32_t>(index));
  }

  constexpr uint32_t value() const { return value_; }
  constexpr bool is_none() const { return value_ == kColorNoneValue; }
  constexpr bool is_system() const { return (value_ & 0xFF000000) == kSystemColorFlag; }

  // The plain colour (red in the low byte, high byte 0) for painting: system colours through
  // the table (an index outside it gives black, as GetSysColor does), any other high byte
  // dropped. std::nullopt for "no colour".
  std::optional<uint32_t> resolved() const;

  friend constexpr bool operator==(Color, Color) = default;

 private:
  uint32_t value_ = 0;  // black
};

inline constexpr Color kBlack = Color::rgb(0, 0, 0);
inline constexpr Color kWhite = Color::rgb(255, 255, 255);
inline constexpr Color kColorNone = Color::none();
inline constexpr int kSysColorButtonFace = 15;

// The classic value of system colour `index`; black outside 0..kSystemColorCount-1.
uint32_t system_color_value(int index);

// "#RRGGBB" (as people write colours), "none" or "sys15" for traces and test messages.
std::ostream& operator<<(std::ostream& out, Color color);

}  // namespace zr
