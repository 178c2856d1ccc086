#pragma once
// The memo's font as the canvas takes it: style bits translated from the record's encoding,
// heights in device pixels from the size in points, and the narrowed face a CharWidth other
// than 100 asks for.

#include <cstdint>

#include "engine/model/memo_view.h"
#include "platform/fonts/font_selection.h"

namespace zr {

class Canvas;

// Record/script style bits (fsItalic 1, fsBold 2, ...) to the canvas's kFs* bits and back.
uint8_t CanvasFontStyle(uint16_t record_style);
uint16_t RecordFontStyle(uint8_t canvas_style);

// The largest character height the engine asks for; sizes from files are capped to it.
inline constexpr int kMaxFontPixels = 16384;

// |round(size * 96 / 72)|: the pixel height at design scale, at most kMaxFontPixels.
int DesignFontPixels(int32_t size_points);

// The memo's font at a character height of `pixels` (the selection's height is -pixels).
FontSelection MemoFontSelection(const TvtMemoFont& font, int pixels, bool vertical);

// Whether a face name (ANSI bytes) ends a Korean fixed-pitch face, which is narrowed less.
bool IsKoreanFixedFace(const std::string& face_name);

// The average character width of `font` narrowed to `char_width` percent: the mean width of
// the 52 Latin letters measured on `canvas` (whose state is left as found), scaled, and cut
// to 90 % for faces other than the Korean fixed-pitch ones. At least 1.
int NarrowedFontWidth(Canvas& canvas, const FontSelection& font, int32_t char_width);

}  // namespace zr
