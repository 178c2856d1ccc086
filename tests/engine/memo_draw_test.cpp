// Memos drawn on a bitmap at 100 % and 150 %, compared with reviewed pictures in
// tests/data/memo (ZR_UPDATE_GOLDEN=1 rewrites them), and the character placement of a
// narrowed font on the trace canvas.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"
#include "engine/model/memo_view.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/canvas_test_support.h"
#include "platform/codepage.h"

namespace zr {
namespace {

struct MemoBox {
  int32_t left, top, width, height;
  int32_t alignment;
  uint16_t flags;
  const char* utf8_text;
  const char* utf8_font = "Arial";
  int32_t char_width = 100;
  int32_t fill = kClNone;
};

class MemoDrawTest : public testing_support::EngineTest {
 protected:
  MemoDrawTest() { globals().mode = EngineMode::Run; }

  static void DrawBoxes(Canvas& canvas, double zoom, std::initializer_list<MemoBox> boxes) {
    for (const MemoBox& box : boxes) {
      TvtMemoView memo;
      memo.SetBounds(box.left, box.top, box.width, box.height);
      memo.Alignment = box.alignment;
      memo.Flags = box.flags;
      memo.Memo = split_text(utf8_to_ansi(box.utf8_text));
      memo.Font.Name = utf8_to_ansi(box.utf8_font);
      memo.CharWidth = box.char_width;
      memo.FillColor = box.fill;
      memo.FrameTyp = kFrameAll;
      memo.FrameColor = 0xA0A0A0;
      memo.ScaleX = memo.ScaleY = zoom;
      memo.Draw(canvas);
    }
  }

  static TvtStrings split_text(const std::string& text) {
    TvtStrings lines;
    size_t start = 0;
    for (size_t pos; (pos = text.find('\n', start)) != std::string::npos; start = pos + 1)
      lines.push_back(text.substr(start, pos - start));
    lines.push_back(text.substr(start));
    return lines;
  }
};

constexpr uint16_t kWrap = kFlagStretched | kMemoWordWrap;

TEST_F(MemoDrawTest, AlignmentsMatchTheGoldens) {
  for (double zoom : {1.0, 1.5}) {
    test::Drawing d(static_cast<int>(300 * zoom), static_cast<int>(200 * zoom));
    const char* text = "Every line of this text keeps to its side";
    DrawBoxes(
        *d.canvas, zoom,
        {
            {5, 5, 140, 60, vttaLeft, kWrap, text},
            {155, 5, 140, 60, vttaRight, kWrap, text},
            {5, 70, 140, 60, vttaCenter, kWrap, text},
            {155, 70, 140, 60, vttaJustify, kWrap,
             "Justified lines spread their words to both edges\nLast", "Arial", 100, 0xF0E0D0},
            {5, 135, 140, 60, vttaCenter | vttaMiddle, kWrap, "Middle"},
            {155, 135, 140, 60, vttaRight | vttaDown, kWrap, "Bottom\nright"},
        });
    test::expect_matches_golden_in("memo", d, zoom == 1.0 ? "alignments_100" : "alignments_150");
  }
}

TEST_F(MemoDrawTest, VerticalBrokenAndKoreanTextMatchTheGoldens) {
  for (double zoom : {1.0, 1.5}) {
    test::Drawing d(static_cast<int>(300 * zoom), static_cast<int>(200 * zoom));
    DrawBoxes(
        *d.canvas, zoom,
        {
            {5, 5, 40, 190, vttaVertical, kWrap, "Vertical text\nsecond column"},
            {50, 5, 40, 190, vttaVertical | vttaCenter, kWrap, "Centred upwards"},
            {95, 5, 95, 60, vttaLeft, kWrap, "Wrap: extraordinarily"},
            {195, 5, 100, 60, vttaLeft, kWrap | kMemoWordBreak, "Break: extraordinarily"},
            {95, 70, 200, 60, vttaLeft, kWrap,
             "한글 텍스트는 두 바이트 문자를 절대 나누지 않습니다", "굴림"},
            {95, 135, 200, 60, vttaJustify, kWrap | kMemoUnderlines,
             "Narrowed to 70 percent and justified over the whole width\nunderlined", "Arial", 70},
        });
    test::expect_matches_golden_in("memo", d,
                                   zoom == 1.0 ? "vertical_korean_100" : "vertical_korean_150");
  }
}

TEST_F(MemoDrawTest, FontHeightFollowsZoomAndPrinter) {
  struct Case {
    double scale;
    bool printing;
    int dpi;
    const char* font;
  };
  // 10 points: 13.33 pixels at 96 dpi; zoomed sizes are truncated, printers size for themselves.
  for (Case c : {Case{1.0, false, 96, "\"Arial\"/-13/"}, Case{1.1, false, 96, "\"Arial\"/-14/"},
                 Case{1.5, false, 96, "\"Arial\"/-20/"}, Case{6.25, true, 600, "\"Arial\"/-83/"}}) {
    TraceCanvas canvas(globals().fonts, {0, 0, 5000, 5000}, {c.dpi, c.dpi});
    TvtMemoView memo;
    memo.SetBounds(0, 0, 100, 20);
    memo.Memo = {"x"};
    memo.ScaleX = memo.ScaleY = c.scale;
    memo.IsPrinting = c.printing;
    memo.Draw(canvas);
    EXPECT_NE(canvas.trace().find(c.font), std::string::npos) << c.scale << "\n" << canvas.trace();
  }
}

TEST_F(MemoDrawTest, AutoWidthFitsTheBoxToTheText) {
  struct Case {
    int32_t alignment;
    bool run;
    int32_t left, width, height;
  };
  // "Total amount due" is 101 pixels: 101 + frame 1 + gaps 4 + 1 = 107.
  const Case cases[] = {
      {vttaLeft, true, 100, 107, 20},
      {vttaRight, true, 43, 107, 20},  // the right edge stays at 150
      {vttaJustify, true, 43, 107, 20},
      {vttaVertical, true, 100, 50, 107},
      {vttaLeft, false, 100, 50, 20},  // only prepared pages fit their width
  };
  for (const Case& c : cases) {
    globals().mode = c.run ? EngineMode::Run : EngineMode::Design;
    TraceCanvas canvas(globals().fonts);
    TvtMemoView memo;
    memo.SetBounds(100, 0, 50, 20);
    memo.SetFlag(kMemoAutoWidth, true);
    memo.Alignment = c.alignment;
    memo.Memo = {"Total amount due\x01"};
    memo.Draw(canvas);
    EXPECT_EQ(memo.Left, c.left) << c.alignment;
    EXPECT_EQ(memo.Width, c.width) << c.alignment;
    EXPECT_EQ(memo.Height, c.height) << c.alignment;
  }
}

// A frame as wide as a damaged record makes it: the fitted width is the largest there is, and
// the room AutoWidth adds for the lines must not overflow it.
TEST_F(MemoDrawTest, AutoWidthOfAnAbsurdFrameStaysInRange) {
  TraceCanvas canvas(globals().fonts);
  TvtMemoView memo;
  memo.SetBounds(100, 0, 50, 20);
  memo.SetFlag(kMemoAutoWidth, true);
  memo.FrameWidth = 3e9f;
  memo.Memo = {"Total"};
  memo.Draw(canvas);
  EXPECT_EQ(memo.Width, INT32_MAX);
}

}  // namespace
}  // namespace zr
