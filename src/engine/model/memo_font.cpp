#include "engine/model/memo_font.h"

#include <algorithm>
#include <cmath>

#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/rounding.h"

namespace zr {

uint8_t CanvasFontStyle(uint16_t record_style) {
  uint8_t style = 0;
  if (record_style & fsItalic) style |= kFsItalic;
  if (record_style & fsBold) style |= kFsBold;
  if (record_style & fsUnderline) style |= kFsUnderline;
  if (record_style & fsStrikeOut) style |= kFsStrikeOut;
  return style;
}

uint16_t RecordFontStyle(uint8_t canvas_style) {
  uint16_t style = 0;
  if (canvas_style & kFsItalic) style |= fsItalic;
  if (canvas_style & kFsBold) style |= fsBold;
  if (canvas_style & kFsUnderline) style |= fsUnderline;
  if (canvas_style & kFsStrikeOut) style |= fsStrikeOut;
  return style;
}

int DesignFontPixels(int32_t size_points) {
  int64_t pixels = round_half_even(size_points * 96.0 / 72.0);
  return static_cast<int>(std::min<int64_t>(pixels < 0 ? -pixels : pixels, kMaxFontPixels));
}

FontSelection MemoFontSelection(const TvtMemoFont& font, int pixels, bool vertical) {
  FontSelection selection;
  selection.name = font.Name;
  selection.height = -std::abs(pixels);
  selection.style = CanvasFontStyle(font.Style);
  selection.charset = font.Charset;
  selection.escapement = vertical ? 900 : 0;
  return selection;
}

bool IsKoreanFixedFace(const std::string& face_name) {
  static const std::string kChe = utf8_to_ansi("체");
  return face_name.find(kChe) != std::string::npos;
}

int NarrowedFontWidth(Canvas& canvas, const FontSelection& font, int32_t char_width) {
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  CanvasStateSaver saver(canvas);
  FontSelection natural = font;
  natural.width = 0;
  canvas.set_font(natural);
  canvas.set_text_char_extra(0);
  canvas.set_text_justification(0, 0);
  double average = canvas.text_extent(kLetters).width / 52.0;
  int64_t width = truncate_toward_zero(average * char_width / 100.0);
  if (!IsKoreanFixedFace(font.name)) width = truncate_toward_zero(width * 0.9);
  if (width < 1) width = 1;
  if (width > 16384) width = 16384;
  return static_cast<int>(width);
}

}  // namespace zr
