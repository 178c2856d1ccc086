#pragma once
// The properties every active form exposes through the control's interface (Visible,
// Caption, Color ...). Without a window they are plain stored values; the GTK front end
// reads them when it draws the control. Defaults are the control form's settings.

#include <cstdint>
#include <string>

namespace zr {

// The type library's enumerations, numbered from 0.
enum TxActiveFormBorderStyle : int32_t { afbNone, afbSingle, afbSunken, afbRaised };
enum TxPrintScale : int32_t { poNone, poProportional, poPrintToFit };
enum TxHelpType : int32_t { htKeyword, htContext };
enum TxMouseButton : int32_t { mbLeft, mbRight, mbMiddle };

// Windows colour value of the button face system colour (0x80000000 + COLOR_BTNFACE).
inline constexpr int32_t clBtnFace = static_cast<int32_t>(0x8000000F);
inline constexpr int16_t crDefault = 0;

struct FormFont {
  std::string Name = "MS Sans Serif";  // ANSI
  int32_t Height = -11;                // negative: character height in pixels
};

struct FormProperties {
  bool Visible = true;
  bool AutoScroll = false;
  bool AutoSize = false;
  int32_t AxBorderStyle = afbNone;
  std::string Caption = "zrViewer";  // ANSI
  int32_t Color = clBtnFace;         // Windows colour, red in the low byte
  FormFont Font;
  bool KeyPreview = false;
  int32_t PixelsPerInch = 96;
  int32_t PrintScale = poProportional;
  bool Scaled = true;
  bool Active = false;  // read only through the interface
  bool DropTarget = false;
  std::string HelpFile;  // ANSI
  bool DoubleBuffered = false;
  bool AlignDisabled = false;          // read only through the interface
  int32_t VisibleDockClientCount = 0;  // read only through the interface
  bool Enabled = true;
  int16_t Cursor = crDefault;
  int32_t HelpType = htContext;
  std::string HelpKeyword;  // ANSI
};

}  // namespace zr
