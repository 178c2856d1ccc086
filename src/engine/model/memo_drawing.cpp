// Drawing a memo: its lines placed by alignment inside the scaled rectangle, one character
// at a time when a narrowed font is used, or handed line by line to an export filter.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/model/export_filter.h"
#include "engine/model/memo_font.h"
#include "engine/model/memo_text_wrap.h"
#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/rounding.h"
#include "platform/text_lines.h"

namespace zr {

namespace {

int count_spaces(std::string_view text) {
  return static_cast<int>(std::count(text.begin(), text.end(), ' '));
}

// The frame sides a piece of a framed memo keeps: the first line has no bottom, the last no
// top, the ones between neither.
int frame_sides_for_line(int frame_typ, int index, int count) {
  if (count <= 1) return frame_typ;
  if (index == 0) return frame_typ & ~kFrameBottom;
  if (index == count - 1) return frame_typ & ~kFrameTop;
  return frame_typ & ~(kFrameTop | kFrameBottom);
}

// The characters of a line (a double-byte character is one).
std::vector<std::string_view> split_chars(std::string_view text, int code_page) {
  std::vector<std::string_view> chars;
  for (size_t pos = 0; pos < text.size();) {
    size_t length = std::max<size_t>(1, char_length(text, pos, code_page));
    chars.push_back(text.substr(pos, length));
    pos += length;
  }
  return chars;
}

// Everything one line's output needs besides its position.
struct LineOutput {
  Canvas& canvas;
  const Rect& clip;
  bool rtl = false;
  bool char_by_char = false;  // narrowed font: every character placed by its own advance
  int code_page = 949;
};

// Outputs `text` at `origin`. `justify_extra` pixels are shared out (spaces with the whole
// line output, every character gap with character output); `end_limit`, when the line is
// justified character by character, is where the last character must end.
void output_line(const LineOutput& out, Point origin, std::string_view text, int justify_extra,
                 int spaces, std::optional<int> char_justify_room) {
  TextOutParams params;
  params.rect = out.clip;
  params.clipped = true;
  params.rtl_reading = out.rtl;
  if (!out.char_by_char) {
    if (spaces > 0 && justify_extra > 0) out.canvas.set_text_justification(justify_extra, spaces);
    out.canvas.text_out(origin, text, params);
    out.canvas.set_text_justification(0, 0);
    return;
  }
  std::vector<std::string_view> chars = split_chars(text, out.code_page);
  std::vector<int> advances;
  advances.reserve(chars.size());
  for (std::string_view ch : chars) advances.push_back(out.canvas.text_extent(ch).width);
  if (char_justify_room && !chars.empty()) {
    int line_width = 0;
    for (int a : advances) line_width += a;
    int free = *char_justify_room - line_width;
    if (chars.size() == 1) {
      origin.x += free / 2;
    } else {
      int n = static_cast<int>(chars.size());
      int share = round_half_even_to_int(static_cast<double>(free) / (n - 1));
      for (int i = 0; i + 1 < n; ++i) advances[i] += share;
      // The last character ends exactly at the room's end.
      int before_last = 0;
      for (int i = 0; i + 2 < n; ++i) before_last += advances[i];
      advances[n - 2] = *char_justify_room - advances[n - 1] - before_last;
    }
  }
  params.advances = advances;
  out.canvas.text_out(origin, text, params);
}

// The scaled rectangle a memo's lines are placed in.
struct LineBox {
  int64_t left, top, gap_x, gap_y;
  Rect rect;  // DrawRect
  Rect clip;
  int align;  // bits 0-1 of Alignment
  int32_t char_width;
  bool measure_narrowed;  // centring measures the narrowed font, not the natural one
};

struct LinePlacement {
  Point origin;
  int justify_extra = 0;         // pixels for the spaces (whole-line output)
  std::optional<int> char_room;  // justified character output: where the last one ends
};

int to_int(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A horizontal line at `y`: `width` as drawn, `natural_width` with the memo's own font.
LinePlacement PlaceRow(const LineBox& b, int64_t y, int width, int natural_width, bool justify) {
  const int64_t w = b.rect.width();
  int64_t x = b.left + b.gap_x;
  LinePlacement p;
  if (b.align == vttaRight) {
    x = b.left + w - b.gap_x - width - 1;
  } else if (b.align == vttaCenter) {
    const int64_t measured =
        b.measure_narrowed ? width : int64_t{natural_width} * b.char_width / 100;
    x = b.left + b.gap_x + (w - 2 * b.gap_x - measured) / 2;
  } else if (justify) {
    p.justify_extra = to_int(w - 2 * b.gap_x - natural_width);
    p.char_room = to_int(b.clip.right - b.gap_x - x);
  }
  p.origin = {to_int(x), to_int(y)};
  return p;
}

// A vertical line (text running upwards) in the column at `x`.
LinePlacement PlaceColumn(const LineBox& b, int64_t x, int width, int natural_width, bool justify) {
  const int64_t h = b.rect.height();
  int64_t y = int64_t{b.rect.bottom} - b.gap_y;
  LinePlacement p;
  if (b.align == vttaRight) {
    y = b.top + b.gap_y + width;
  } else if (b.align == vttaCenter) {
    y = int64_t{b.rect.bottom} - b.gap_y - (h - 2 * b.gap_y - width) / 2 - 1;
  } else if (b.align == vttaJustify) {
    y = b.top + h - b.gap_y;
    if (justify) {
      p.justify_extra = to_int(h - 2 * b.gap_y - natural_width);
      p.char_room = to_int(y - b.clip.top - b.gap_y);
    }
  }
  p.origin = {to_int(x), to_int(y)};
  return p;
}

}  // namespace

int TvtMemoView::DrawingFontPixels(const Canvas& canvas) const {
  const double pixels = Font.Size * 96.0 / 72.0;
  int64_t height;
  if (IsPrinting) {
    // A printer canvas sizes the font for its own resolution.
    height = round_half_even(Font.Size * static_cast<double>(canvas.resolution().y) / 72.0);
  } else if (ScaleY == 1.0) {
    height = round_half_even(pixels);
  } else {
    height = truncate_toward_zero(pixels * ScaleY);
  }
  return static_cast<int>(std::min<int64_t>(height < 0 ? -height : height, kMaxFontPixels));
}

void TvtMemoView::FitWidthToText(Canvas& canvas) {
  std::string text;
  for (const std::string& line : Memo) text += line + "\r\n";
  std::erase(text, kParagraphMark);
  CanvasStateSaver saver(canvas);
  canvas.set_font(MemoFontSelection(Font, DrawingFontPixels(canvas), false));
  canvas.set_text_char_extra(round_half_even_to_int(CharSpacing * ScaleX));
  canvas.set_text_justification(0, 0);
  int width = 0;
  for (const std::string& line : split_lines(text))
    width = std::max(width, canvas.text_extent(line).width);
  const int32_t needed = round_half_even_to_int(width / ScaleX + FrameWidth + 2.0 * GapX + 1.0);
  if (Alignment & vttaVertical) {
    Height = needed;
    return;
  }
  // Right-aligned and justified text keeps its right edge.
  if (Alignment & vttaRight) Left = to_int(int64_t{Left} + Width - needed);
  Width = needed;
}

void TvtMemoView::Draw(Canvas& canvas) {
  TvtGlobals& g = TvtGlobals::Get();
  const bool run = g.run_mode();
  const bool auto_width = HasFlag(kMemoAutoWidth) && run;
  if (auto_width && !Memo.empty()) FitWidthToText(canvas);
  ApplyBandAlign(&canvas);
  ClipLines = false;
  ExpandedMemo = Memo;
  int32_t text_height = 0;
  if (!ExpandedMemo.empty()) {
    HasParagraphMarks = HasParagraphMark(ExpandedMemo);
    // The mark a split part carries has done its work.
    if (ExpandedMemo.back() == std::string(1, kParagraphMark)) ExpandedMemo.pop_back();
    // AutoWidth leaves the lines some room past the fitted width (which may already be the
    // largest there is).
    const int32_t width = Width;
    if (auto_width) Width = to_int(int64_t{Width} + 100);
    try {
      text_height = WrapText();
    } catch (...) {
      Width = width;
      throw;
    }
    Width = width;
  }
  ApplyScale();
  try {
    CanvasStateSaver saver(canvas);
    if (!Exporting) {
      DrawBackground();
      DrawFrame();
      if (HasFlag(kMemoUnderlines)) DrawUnderlines(canvas);
    }
    DrawLines(canvas, text_height);
  } catch (...) {
    RestoreGeometry();
    throw;
  }
  RestoreGeometry();
}

void TvtMemoView::DrawUnderlines(Canvas& canvas) {
  const int pixels = DrawingFontPixels(canvas);
  const int64_t pitch = int64_t{round_half_even_to_int(LineSpacing * ScaleY)} + pixels;
  if (pitch <= 0) return;
  CanvasStateSaver saver(canvas);
  canvas.set_pen(Pen{Color(static_cast<uint32_t>(FrameColor)), round_half_even_to_int(FrameWidth),
                     PenStyle::Solid});
  const int bottom = canvas.clip_box().bottom;
  // No page holds more ruled lines; a record claiming a taller memo must not stall drawing.
  constexpr int64_t kMaxUnderlines = 100000;
  const int64_t count = std::min(Height / pitch, kMaxUnderlines);
  const int right = to_int(int64_t{Left} + Width - 1);
  for (int64_t i = 0; i < count; ++i) {
    int64_t y = int64_t{Top} + GapY + i * pitch + round_half_even_to_int(2 * ScaleY) + pixels;
    if (y > bottom) break;  // nothing further can show
    canvas.line({Left, to_int(y)}, {right, to_int(y)});
  }
}

int32_t TvtMemoView::DrawLines(Canvas& canvas, int32_t text_height) {
  TvtGlobals& g = TvtGlobals::Get();
  TvtExportFilter* filter = nullptr;
  if (Exporting) {
    filter = g.CurReport ? g.CurReport->ExportFilter : nullptr;
    if (!filter) return 0;
  }
  CanvasStateSaver saver(canvas);
  const bool vertical = Alignment & vttaVertical;
  const int pixels = DrawingFontPixels(canvas);
  const FontSelection natural = MemoFontSelection(Font, pixels, vertical);
  FontSelection font = natural;
  const bool narrowed = CharWidth != 100;
  if (narrowed) font.width = NarrowedFontWidth(canvas, natural, CharWidth);
  canvas.set_text_char_extra(round_half_even_to_int(CharSpacing * ScaleX));
  canvas.set_text_justification(0, 0);
  canvas.set_text_color(Color(static_cast<uint32_t>(Font.Color)));
  canvas.set_bk_mode(BkMode::Transparent);

  const LineBox box{Left,
                    Top,
                    GapX,
                    GapY,
                    DrawRect,
                    {to_int(int64_t{DrawRect.left} + 1), DrawRect.top,
                     to_int(int64_t{DrawRect.right} - 2), to_int(int64_t{DrawRect.bottom} - 1)},
                    Alignment & 3,
                    CharWidth,
                    narrowed && !IsKoreanFixedFace(Font.Name)};
  const LineOutput out{canvas, box.clip, HasFlag(kMemoRTLReading), narrowed, g.fonts->code_page()};
  const double scale_across = vertical ? ScaleX : ScaleY;
  const int64_t pitch = int64_t{round_half_even_to_int(LineSpacing * scale_across)} + pixels;

  // Middle and bottom placement move the whole block across the lines.
  int64_t shift = 0;
  if (!ClipLines) {
    const int64_t room = vertical ? box.rect.width() : box.rect.height();
    const int64_t text = round_half_even_to_int(text_height * scale_across);
    if (Alignment & vttaMiddle) {
      shift = (room - text) / 2;
    } else if (Alignment & vttaDown) {
      shift = room - text - 1;
    }
  }
  const int64_t limit = vertical ? box.rect.right : box.rect.bottom;

  auto width_with = [&](const FontSelection& f, std::string_view text) {
    canvas.set_font(f);
    return canvas.text_extent(text).width;
  };

  const int count = static_cast<int>(ExpandedMemo.size());
  int64_t across = (vertical ? int64_t{Left} + GapX : int64_t{Top} + GapY) + shift;
  int drawn = 0;
  for (int i = 0; i < count; ++i, across += pitch) {
    if (ClipLines && across + pixels > limit) break;
    if (across > INT32_MAX || across < INT32_MIN) break;  // off any device
    std::string_view line = ExpandedMemo[i];
    const bool paragraph_end = !line.empty() && line.back() == kParagraphMark;
    if (paragraph_end) line.remove_suffix(1);
    const int natural_width = width_with(natural, line);
    const int width = narrowed ? width_with(font, line) : natural_width;
    canvas.set_font(font);
    const bool justify = box.align == vttaJustify && !paragraph_end;
    const LinePlacement place = vertical ? PlaceColumn(box, across, width, natural_width, justify)
                                         : PlaceRow(box, across, width, natural_width, justify);
    if (filter) {
      const int sides = vertical ? 0 : frame_sides_for_line(FrameTyp, i, count);
      filter->OnText(DrawRect, place.origin.x, place.origin.y, std::string(line), sides,
                     vertical ? 0 : i, *this);
    } else {
      output_line(out, place.origin, line, place.justify_extra, count_spaces(line),
                  place.char_room);
    }
    ++drawn;
  }
  return drawn;
}

}  // namespace zr
