// Text on the Cairo backend: placement at the cell's top-left, measured and drawn widths
// agreeing pixel for pixel, justification, rotation, decorations, Korean text, and the PDF
// and PostScript surfaces.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "canvas_test_support.h"
#include "platform/canvas/font_canvas.h"
#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {
namespace {

using test::Drawing;

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kYellow = 0x00FFFF;

// Draws `text` at (x, y) on an opaque yellow background and returns the background box: the
// text's cell as text_out painted it.
Rect drawn_cell(Drawing& d, int x, int y, std::string_view text) {
  d.canvas->set_bk_mode(BkMode::Opaque);
  d.canvas->set_bk_color(Color(kYellow));
  d.canvas->set_text_color(Color(kYellow));  // ink like the box: only the box shows
  d.canvas->text_out({x, y}, text);
  return d.ink_bounds();
}

// GCC 12 at -O3 takes the strings of this table's fonts for uninitialized (a false positive
// of its flow analysis on aggregates of strings).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
TEST(CairoCanvasText, CellStartsAtOriginAndIsAsWideAsTheExtent) {
  struct Case {
    FontSelection font;
    std::string text;
    int extra, break_extra, break_count;
  } cases[] = {
      {{.name = "Arial", .height = -13}, "Sum of wages", 0, 0, 0},
      {{.name = "Times New Roman", .height = -20, .style = kFsItalic}, "Quarter 4", 1, 0, 0},
      {{.name = "Courier New", .height = 15}, "a b c d", 0, 7, 3},
      {{.name = utf8_to_ansi("굴림"), .height = -16, .charset = kHangulCharset},
       utf8_to_ansi("합계 금액"),
       2,
       5,
       1},
  };
  for (const Case& c : cases) {
    Drawing d(300, 60);
    d.canvas->set_font(c.font);
    d.canvas->set_text_char_extra(c.extra);
    d.canvas->set_text_justification(c.break_extra, c.break_count);
    Size extent = d.canvas->text_extent(c.text);
    EXPECT_EQ(drawn_cell(d, 7, 9, c.text), (Rect{7, 9, 7 + extent.width, 9 + extent.height}))
        << c.font.name;
    MeasuringCanvas measure(test::shared_fonts());
    measure.set_font(c.font);
    measure.set_text_char_extra(c.extra);
    measure.set_text_justification(c.break_extra, c.break_count);
    EXPECT_EQ(measure.text_extent(c.text), extent);
  }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

TEST(CairoCanvasText, ExplicitAdvancesPlaceEachCharacter) {
  Drawing d(200, 40);
  d.canvas->set_font({.name = "Arial", .height = -14});
  d.canvas->set_bk_mode(BkMode::Transparent);
  const int advances[] = {40, 40};
  d.canvas->text_out({10, 5}, "II", {.advances = advances});
  // Two narrow strokes 40 pixels apart, nothing between them.
  Rect ink = d.ink_bounds();
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.left, 13);
  EXPECT_GE(ink.right, 50);
  EXPECT_LE(ink.right, 56);
  EXPECT_EQ(d.inked_count({ink.left + 8, 0, ink.left + 38, 40}), 0);
}

TEST(CairoCanvasText, EscapementTurnsTextCounterClockwiseAboutTheOrigin) {
  Drawing d(60, 200);
  FontSelection font{.name = "Arial", .height = -16, .escapement = 900};
  d.canvas->set_font(font);
  Size extent = d.canvas->text_extent("Rotated");
  Rect cell = drawn_cell(d, 20, 150, "Rotated");
  // The cell's top edge now runs up from the origin; its height lies to the right.
  EXPECT_EQ(cell, (Rect{20, 150 - extent.width, 20 + extent.height, 150}));
  Drawing ink(60, 200);
  ink.canvas->set_font(font);
  ink.canvas->set_bk_mode(BkMode::Transparent);
  ink.canvas->text_out({20, 150}, "Rotated");
  Rect bounds = ink.ink_bounds();
  EXPECT_GT(bounds.height(), bounds.width() * 3);
  EXPECT_GE(bounds.left, 20);
  EXPECT_LE(bounds.bottom, 151);
}

TEST(CairoCanvasText, UnderlineAndStrikeOutFollowTheMetrics) {
  Drawing d(200, 40);
  FontSelection font{.name = "Arial", .height = -20, .style = kFsUnderline | kFsStrikeOut};
  d.canvas->set_font(font);
  d.canvas->set_bk_mode(BkMode::Transparent);
  d.canvas->set_text_color(Color(kRed));
  d.canvas->text_out({10, 5}, "      ");  // spaces: only the two lines show
  FontMetrics m = d.canvas->text_metrics();
  int width = d.canvas->text_extent("      ").width;
  int underline_y = 5 + m.ascent - m.underscore_position;
  int strike_y = 5 + m.ascent - m.strikeout_position;
  EXPECT_EQ(d.at(10, underline_y), kRed);
  EXPECT_EQ(d.at(10 + width - 1, underline_y), kRed);
  EXPECT_FALSE(d.inked(10 + width, underline_y));
  EXPECT_EQ(d.at(12, strike_y), kRed);
  EXPECT_FALSE(d.inked(12, (underline_y + strike_y) / 2 + 1));
}

TEST(CairoCanvasText, KoreanTextIsDrawnWithAKoreanFont) {
  for (const char* face : {"굴림", "Arial"}) {  // Arial reaches Hangul through the fallback
    Drawing d(120, 40);
    d.canvas->set_font({.name = utf8_to_ansi(face), .height = -20, .charset = kHangulCharset});
    d.canvas->set_bk_mode(BkMode::Transparent);
    std::string text = utf8_to_ansi("한글 보고서");
    d.canvas->text_out({4, 4}, text);
    Rect ink = d.ink_bounds();
    EXPECT_GT(d.inked_count(ink), 80) << face;
    EXPECT_LE(ink.right, 4 + d.canvas->text_extent(text).width + 1) << face;
  }
}

TEST(CairoCanvasText, TextSceneMatchesGolden) {
  Drawing d(200, 90);
  Canvas& c = *d.canvas;
  c.set_font({.name = "Arial", .height = -14});
  c.set_bk_mode(BkMode::Transparent);
  c.text_out({4, 2}, "Zorel 2026");
  c.set_font({.name = "Times New Roman", .height = -16, .style = kFsBold | kFsUnderline});
  c.set_text_color(Color::rgb(0, 0, 160));
  c.text_out({4, 20}, "Report");
  c.set_font({.name = utf8_to_ansi("돋움"), .height = -14, .charset = kHangulCharset});
  c.set_bk_mode(BkMode::Opaque);
  c.set_bk_color(Color::rgb(220, 220, 220));
  c.set_text_color(kBlack);
  c.text_out({4, 42}, utf8_to_ansi("합계: 1,234원"));
  c.set_font({.name = "Arial", .height = -12, .escapement = 900});
  c.set_bk_mode(BkMode::Transparent);
  c.text_out({170, 85}, "Up");
  c.set_font({.name = "Courier New", .height = -12});
  c.text_out({4, 65}, "clipped text",
             {.rect = Rect{4, 65, 50, 80}, .clipped = true, .opaque = true});
  test::expect_matches_golden(d, "text");
}

bool have(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[512];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

TEST(CairoCanvasDocument, PdfPagesCarryTheirText) {
  auto path = test::temp_path("pages.pdf");
  {
    auto canvas = CairoCanvas::for_pdf(path, 595, 842, {96, 96}, test::shared_fonts());
    EXPECT_EQ(canvas->device_bounds(), (Rect{0, 0, 793, 1123}));
    canvas->set_font({.name = "Arial", .height = -16});
    canvas->set_brush(Brush::hatch(HatchStyle::Cross, Color::rgb(0, 0, 255)));
    canvas->rectangle({50, 50, 300, 120});
    canvas->text_out({60, 60}, "First page");
    canvas->show_page();
    canvas->set_font({.name = utf8_to_ansi("굴림"), .height = -16, .charset = kHangulCharset});
    canvas->text_out({60, 60}, utf8_to_ansi("둘째 쪽"));
    canvas->show_page();
    canvas->finish();
  }
  ASSERT_TRUE(std::filesystem::exists(path));
  std::ifstream file(path, std::ios::binary);
  std::string head(5, '\0');
  file.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");
  if (have("qpdf")) {
    EXPECT_EQ(std::system(("qpdf --check '" + path.string() + "' >/dev/null 2>&1").c_str()), 0);
  }
  if (have("pdftotext")) {
    std::string text = run("pdftotext '" + path.string() + "' -");
    EXPECT_NE(text.find("First page"), std::string::npos) << text;
    EXPECT_NE(text.find("둘째 쪽"), std::string::npos) << text;
    EXPECT_NE(text.find('\f'), std::string::npos);  // two pages
  }
  std::filesystem::remove(path);
}

TEST(CairoCanvasDocument, PostScriptAndUnwritablePaths) {
  auto path = test::temp_path("page.ps");
  {
    auto canvas = CairoCanvas::for_postscript(path, 200, 100, {300, 300}, test::shared_fonts());
    EXPECT_EQ(canvas->device_bounds(), (Rect{0, 0, 833, 417}));
    canvas->text_out({10, 10}, "PostScript");
    canvas->show_page();
    canvas->finish();
  }
  std::ifstream file(path, std::ios::binary);
  std::string head(4, '\0');
  file.read(head.data(), 4);
  EXPECT_EQ(head, "%!PS");
  std::filesystem::remove(path);
  EXPECT_THROW(CairoCanvas::for_pdf("/nonexistent-dir/x.pdf", 100, 100, {96, 96}), IoError);
}

}  // namespace
}  // namespace zr
