#pragma once
// Metrics of a sized font in whole device pixels, as GDI's TEXTMETRIC and
// OUTLINETEXTMETRIC report them for TrueType fonts. Ascent and descent are the OS/2 windows
// ascent and descent scaled and rounded (GDI would prefer a VDMX table; the installed
// substitutes have none); other values are scaled from the font's tables and rounded.

#include <cstdint>

namespace zr {

// Family bits of pitch_and_family (GDI's FF_* values).
inline constexpr uint8_t kFamilyDontCare = 0x00;
inline constexpr uint8_t kFamilyRoman = 0x10;
inline constexpr uint8_t kFamilySwiss = 0x20;
inline constexpr uint8_t kFamilyModern = 0x30;
inline constexpr uint8_t kFamilyScript = 0x40;
inline constexpr uint8_t kFamilyDecorative = 0x50;

// Pitch bits of pitch_and_family. Careful: as in GDI, kVariablePitchBit (TMPF_FIXED_PITCH)
// set means the font is NOT fixed pitch.
inline constexpr uint8_t kVariablePitchBit = 0x01;
inline constexpr uint8_t kVectorBit = 0x02;
inline constexpr uint8_t kTrueTypeBit = 0x04;

struct FontBox {
  int left = 0;
  int bottom = 0;  // below the baseline: negative
  int right = 0;
  int top = 0;
};

struct FontMetrics {
  // TEXTMETRIC
  int height = 0;  // ascent + descent
  int ascent = 0;
  int descent = 0;           // positive
  int internal_leading = 0;  // height - em_size
  int external_leading = 0;
  int ave_char_width = 0;
  int max_char_width = 0;
  int weight = 400;
  bool italic = false;
  bool underlined = false;
  bool struck_out = false;
  uint8_t pitch_and_family = 0;  // family | kVariablePitchBit | kVectorBit | kTrueTypeBit
  uint8_t charset = 0;

  // OUTLINETEXTMETRIC
  int em_size = 0;  // pixels per em, vertical
  int units_per_em = 0;
  int italic_angle = 0;  // tenths of a degree, negative when leaning right
  int cap_height = 0;
  int x_height = 0;
  int underscore_position = 0;  // of the line's top edge above the baseline: negative below
  int underscore_size = 0;
  int strikeout_position = 0;  // above the baseline
  int strikeout_size = 0;
  FontBox box;
  bool is_outline = false;

  bool fixed_pitch() const { return !(pitch_and_family & kVariablePitchBit); }
  uint8_t family() const { return pitch_and_family & 0xF0; }
};

}  // namespace zr
