#pragma once
// What the document exporters (PDF, HTML, RTF) read at a page's end: one record per object
// and one per text fragment, geometry already converted to the display resolution.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/canvas/geometry.h"
#include "platform/graphics/bitmap.h"

namespace zr {

// The display's logical pixels per inch. Design pixels are taken as 1/96 inch and "converted"
// means value / 96 * ScreenPPI; without a display there is nothing else to ask.
inline constexpr int ScreenPPI = 96;

inline double ConvertToScreen(double design_pixels) {
  return design_pixels / 96.0 * ScreenPPI;
}

enum TOxvtImageFormat : uint8_t { ifGIF = 0, ifJPG = 1, ifBMP = 2 };

// Alignment bits of a data record.
inline constexpr uint8_t kAlignLeft = 1;
inline constexpr uint8_t kAlignRight = 2;
inline constexpr uint8_t kAlignTop = 4;
inline constexpr uint8_t kAlignBottom = 8;
inline constexpr uint8_t kAlignJustify = 16;
inline constexpr uint8_t kAlignCenter = 32;
inline constexpr uint8_t kAlignMiddle = 64;

// A memo's alignment code as record bits; vertical text (and anything unknown) gives 0.
uint8_t DocumentAlignment(int32_t memo_alignment);

struct TOxvtFontInfo {
  std::string Name;   // ANSI bytes
  int32_t Size = 10;  // points
  int32_t Color = 0;
  uint8_t Style = 0;    // kFsBold, kFsItalic, kFsUnderline, kFsStrikeOut
  uint8_t Charset = 1;  // the default character set
  int32_t PixelsPerInch = ScreenPPI;

  bool operator==(const TOxvtFontInfo&) const = default;
};

struct TOxvtDataRec {
  double X = 0, Y = 0, Width = 0, Height = 0;
  // Memo only.
  std::string Text;  // lines joined with CR LF, paragraph marks removed
  int32_t TextWidth = 0;
  uint8_t Alignment = 0;
  TOxvtFontInfo Font;
  // Only with ExportFrames.
  uint8_t FrameTyp = 0;
  float FrameWidth = 0;
  int32_t FrameColor = 0;
  uint16_t FrameStyle = 0;
  int32_t FillColor = 0;

  std::string Name;
  int NameNumber = 0;  // index of Name among the document's distinct names
  std::string ClassName;
  std::optional<Bitmap> Image;  // the rendered object, when it is exported as a picture
  bool RotatedText = false;
  bool Stretched = false;
};

struct TOxvtTextRec {
  // Whole-line mode: converted; character mode: design pixels.
  double X = 0, Y = 0;
  std::string Text;  // ANSI bytes: a line or one character
  int32_t TextWidth = 0, TextHeight = 0;
  TOxvtFontInfo Font;
  Rect DrawRect;
  int32_t CharSpacing = 0;
  double TextScale = 100;  // horizontal scale in percent
};

}  // namespace zr
