// Canvas value types, the state every canvas keeps, and the trace backend.

#include <gtest/gtest.h>

#include <sstream>

#include "canvas_test_support.h"
#include "platform/canvas/font_canvas.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/codepage.h"

namespace zr {
namespace {

TEST(CanvasColor, ResolvesSystemColoursAndNone) {
  struct Case {
    uint32_t value;
    std::optional<uint32_t> resolved;
    const char* text;
  } cases[] = {
      {0x000000FF, 0x0000FF, "#FF0000"},   // red in the low byte
      {0x8000000F, 0xF0F0F0, "sys15"},     // button face
      {0x80000005, 0xFFFFFF, "sys5"},      // window
      {0x80000018, 0xE1FFFF, "sys24"},     // tooltip background (255,255,225)
      {0x800000FF, 0x000000, "sys255"},    // outside the table: black
      {0x1FFFFFFF, std::nullopt, "none"},  // no colour
      {0x02123456, 0x123456, "#563412"},   // other high bytes are dropped
  };
  for (const Case& c : cases) {
    Color color(c.value);
    EXPECT_EQ(color.resolved(), c.resolved) << std::hex << c.value;
    std::ostringstream text;
    text << color;
    EXPECT_EQ(text.str(), c.text);
  }
}

TEST(CanvasGeometry, RectAndRegionFollowGdiBounds) {
  Rect r{10, 10, 20, 15};
  EXPECT_TRUE(r.contains({10, 10}));
  EXPECT_FALSE(r.contains({20, 12}));  // right and bottom are outside
  EXPECT_FALSE(r.contains({12, 15}));
  EXPECT_EQ(r.intersected({20, 10, 30, 15}), Rect{});  // touching is not overlapping
  EXPECT_EQ((Rect{20, 15, 10, 10}).normalized(), r);

  Region region(Rect{0, 0, 10, 10});
  region.add({20, 0, 30, 10});
  region.intersect(Rect{5, 5, 25, 8});
  EXPECT_EQ(region.rects(), (std::vector<Rect>{{5, 5, 10, 8}, {20, 5, 25, 8}}));
  EXPECT_EQ(region.bounds(), (Rect{5, 5, 25, 8}));
  EXPECT_FALSE(region.contains({15, 6}));
  region.intersect(Rect{40, 40, 50, 50});
  EXPECT_TRUE(region.empty());
}

TEST(CanvasState, SaveRestoreBracketsStateAndClip) {
  MeasuringCanvas canvas(test::shared_fonts());
  canvas.set_pen({Color::rgb(255, 0, 0), 3, PenStyle::Dash});
  canvas.save_state();
  {
    CanvasStateSaver saver(canvas);
    canvas.set_pen({kBlack, 1, PenStyle::Solid});
    canvas.intersect_clip_rect({0, 0, 100, 100});
    canvas.intersect_clip_rect({50, 50, 200, 200});
    EXPECT_EQ(canvas.clip_box(), (Rect{50, 50, 100, 100}));
    EXPECT_TRUE(canvas.rect_visible({90, 90, 120, 120}));
    EXPECT_FALSE(canvas.rect_visible({0, 0, 50, 50}));
    EXPECT_EQ(canvas.saved_state_count(), 2);
  }
  EXPECT_EQ(canvas.state().pen.width, 3);
  EXPECT_FALSE(canvas.state().clip);
  EXPECT_TRUE(canvas.rect_visible({0, 0, 50, 50}));
  canvas.restore_state();
  canvas.restore_state();  // unmatched: ignored
  EXPECT_EQ(canvas.saved_state_count(), 0);
}

TEST(CanvasState, JustificationAndExtraChangeWidthAsComputed) {
  MeasuringCanvas canvas(test::shared_fonts());
  canvas.set_font({.name = "Arial", .height = -16});
  const std::string text = "a bc d e";  // 8 characters, 3 breaks
  int plain = canvas.text_extent(text).width;
  int sum = 0;
  for (char c : text) sum += canvas.text_extent(std::string(1, c)).width;
  EXPECT_EQ(plain, sum);

  canvas.set_text_justification(10, 3);
  EXPECT_EQ(canvas.text_extent(text).width, plain + 10);
  canvas.set_text_char_extra(2);
  EXPECT_EQ(canvas.text_extent(text).width, plain + 10 + 8 * 2);
  canvas.set_text_justification(-5, 3);  // off
  EXPECT_EQ(canvas.text_extent(text).width, plain + 8 * 2);

  // A double-byte character is one character for the extra spacing.
  canvas.set_font({.name = utf8_to_ansi("굴림"), .height = -16, .charset = kHangulCharset});
  canvas.set_text_char_extra(0);
  std::string hangul = utf8_to_ansi("한글");
  int natural = canvas.text_extent(hangul).width;
  canvas.set_text_char_extra(3);
  EXPECT_EQ(canvas.text_extent(hangul).width, natural + 2 * 3);
  EXPECT_GT(canvas.text_metrics().height, 0);
}

TEST(TraceCanvas, WritesOneLinePerCallWithItsState) {
  TraceCanvas trace(test::shared_fonts(), {0, 0, 200, 100});
  trace.set_pen({kBlack, 1, PenStyle::Solid});
  trace.set_brush(Brush::solid(kWhite));
  trace.rectangle({10, 10, 50, 30});
  trace.set_pen({Color::rgb(0, 0, 255), 2, PenStyle::Dot});
  trace.line({0, 0}, {10, 0});
  trace.set_brush(Brush::hatch(HatchStyle::Cross, Color::rgb(255, 0, 0)));
  {
    CanvasStateSaver saver(trace);
    trace.intersect_clip_rect({5, 5, 60, 40});
    trace.fill_rect({0, 0, 8, 8});
  }
  trace.set_font({.name = "Arial", .height = -12, .style = kFsBold});
  trace.set_bk_mode(BkMode::Transparent);
  const int advances[] = {7, 7};
  trace.text_out({5, 5}, "\"x\\",
                 {.rect = Rect{0, 0, 20, 20}, .clipped = true, .advances = advances});
  trace.set_font({.name = utf8_to_ansi("돋움"), .height = 16, .escapement = 900});
  trace.set_bk_mode(BkMode::Opaque);
  trace.set_text_justification(4, 1);
  trace.text_out({1, 2}, utf8_to_ansi("합 계"));
  trace.stretch_draw({0, 0, 4, 4}, Bitmap(2, 3));
  const Point points[] = {{1, 1}, {5, 1}, {3, 4}};
  trace.polygon(points);
  EXPECT_EQ(trace.trace(),
            "rectangle 10 10 50 30 pen=#000000/1/solid brush=#FFFFFF\n"
            "line 0 0 10 0 pen=#0000FF/2/dot\n"
            "fill_rect 0 0 8 8 brush=pattern:#FF0000:FF80808080808080 clip=5,5,60,40\n"
            "text_out 5 5 \"\\\"x\\\\\" font=\"Arial\"/-12/b color=#000000 bk=transparent "
            "rect=0 0 20 20 clipped advances=7,7\n"
            "text_out 1 2 \"합 계\" font=\"돋움\"/16/- esc=900 color=#000000 bk=opaque:#FFFFFF "
            "justify=4/1\n"
            "stretch_draw 0 0 4 4 bitmap=2x3\n"
            "polygon 1 1 5 1 3 4 pen=#0000FF/2/dot brush=pattern:#FF0000:FF80808080808080\n");
}

}  // namespace
}  // namespace zr
