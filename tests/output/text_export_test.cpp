// The plain-text export of single pages: columns, rows, frames, page breaks and the DOS code
// page, driven line by line as the memos of a prepared page hand them over.
#include "output/text/text_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <sstream>

#include "engine/engine_fixture.h"
#include "engine/report/report.h"
#include "platform/fonts/font_resolver.h"
#include "text_export_support.h"

namespace zr {
namespace {

using testing_support::ExportPieces;
using testing_support::Readable;
using testing_support::TextPiece;

struct TextCase {
  const char* name;
  double scale_x;
  bool kill_empty_lines;
  std::vector<TextPiece> pieces;
  std::string expected;  // lines joined by "\n"
};

class TextExportTest : public testing_support::EngineTest {};

TEST_F(TextExportTest, TextsLandInColumnsOfTheirRows) {
  const std::vector<TextCase> cases = {
      {"65 and 130 pixels apart: columns 10 and 20",
       1.0,
       true,
       {{65, 10, 130, 28, "A"}, {130, 10, 200, 28, "B"}},
       "          A         B"},
      {"twice the scale halves the cell",
       2.0,
       true,
       {{65, 10, 130, 28, "A"}, {130, 10, 200, 28, "B"}},
       "                    A                   B"},
      {"a longer text runs on; padding counts from the last column plus its text",
       1.0,
       true,
       {{0, 10, 99, 28, "Hello World"}, {32, 10, 99, 28, "X"}, {52, 10, 99, 28, "Y"}},
       "Hello WorldX  Y"},
      {"a later object at the same left comes first",
       1.0,
       true,
       {{0, 10, 99, 28, "A"}, {0, 10, 99, 28, "B"}},
       "BA"},
      {"lines of one object fill consecutive rows from the object's left edge",
       1.0,
       true,
       {{13, 10, 99, 58, "one", 0, 0}, {13, 10, 99, 58, "two", 0, 1}},
       "  one\n  two"},
      {"empty rows are dropped", 1.0, true, {{0, 2, 9, 9, "A"}, {0, 5, 9, 9, "B"}}, "A\nB"},
      {"without KillEmptyLines every pixel row from the top is a line",
       1.0,
       false,
       {{0, 2, 9, 9, "A"}, {0, 5, 9, 9, "B"}},
       "\n\nA\n\n\nB"},
      {"rows far down the page are kept", 1.0, true, {{0, 6000, 9, 6018, "far"}}, "far"},
      {"rows above the page top are kept too",
       1.0,
       false,
       {{0, -1, 9, 9, "A"}, {0, 1, 9, 9, "B"}},
       "A\n\nB"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    TvtTextExport filter;
    filter.PageBreaks = false;
    filter.ScaleX = c.scale_x;
    filter.KillEmptyLines = c.kill_empty_lines;
    const std::string bytes = ExportPieces(filter, c.pieces);
    EXPECT_EQ(Readable(bytes), c.expected);
    EXPECT_TRUE(filter.Lines().Empty());
  }
}

TEST_F(TextExportTest, EveryRowDownToAFarTextIsALine) {
  TvtTextExport filter;
  filter.PageBreaks = false;
  filter.KillEmptyLines = false;
  std::string expected;
  for (int row = 0; row < 6000; ++row) expected += "\r\n";
  EXPECT_EQ(ExportPieces(filter, {{13, 6000, 99, 6018, "far"}}), expected + "  far\r\n");
}

TEST_F(TextExportTest, AbsurdGeometryAndScalesStayBounded) {
  // Frames reaching far off the page are cut at the last column a line may have; a frame
  // left of the first column loses that side.
  TvtTextExport filter;
  filter.PageBreaks = false;
  filter.ExportFrames = true;
  const std::string bytes = ExportPieces(filter, {{-100, 10, INT32_MAX, 28, "x", 15}});
  size_t lines = 0, longest = 0;
  for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
       start = end + 2, ++lines)
    longest = std::max(longest, end - start);
  EXPECT_EQ(lines, 3u);
  EXPECT_EQ(longest, static_cast<size_t>(kMaxTextColumn));
  EXPECT_TRUE(bytes.starts_with("-----")) << bytes.substr(0, 20);

  // Rows as far off as a damaged page may put them hold no text, so no million empty lines.
  filter.ExportFrames = false;
  filter.KillEmptyLines = false;
  EXPECT_EQ(ExportPieces(filter, {{13, 2'000'000'000, 99, 2'000'000'018, "far"},
                                  {13, -2'000'000'000, 99, -1'999'999'982, "up"},
                                  {13, 0, 99, 18, "near"}}),
            "  near\r\n");
  filter.KillEmptyLines = true;

  for (double scale : {0.0, -1.0, 1e300}) {
    SCOPED_TRACE(scale);
    filter.ExportFrames = false;
    filter.ScaleX = scale;
    EXPECT_FALSE(ExportPieces(filter, {{65, 10, 130, 28, "A"}}).empty());
  }
}

TEST_F(TextExportTest, FramesShareBordersAndMeetInTees) {
  const std::vector<TextCase> cases = {
      {"a framed single line is three lines",
       1.0,
       true,
       {{13, 10, 78, 28, "Hi", 15}},
       " ┌─────────┐\n"
       " │Hi       │\n"
       " └─────────┘"},
      {"two cells side by side share a border",
       1.0,
       true,
       {{13, 10, 78, 28, "A", 15}, {78, 10, 143, 28, "B", 15}},
       " ┌─────────┬─────────┐\n"
       " │A        │B        │\n"
       " └─────────┴─────────┘"},
      {"corners meeting a stroke become tees",
       1.0,
       true,
       {{13, 10, 143, 28, "W", 15}, {13, 28, 78, 46, "A", 15}, {78, 28, 143, 46, "B", 15}},
       " ┌───────────────────┐\n"
       " │W                  │\n"
       " ├─────────┬─────────┤\n"
       " │A        │B        │\n"
       " └─────────┴─────────┘"},
      {"four corners make a cross",
       1.0,
       true,
       {{13, 10, 78, 28, "1", 15},
        {78, 10, 143, 28, "2", 15},
        {13, 28, 78, 46, "3", 15},
        {78, 28, 143, 46, "4", 15}},
       " ┌─────────┬─────────┐\n"
       " │1        │2        │\n"
       " ├─────────┼─────────┤\n"
       " │3        │4        │\n"
       " └─────────┴─────────┘"},
      {"a top border under text gets a line of its own",
       1.0,
       true,
       {{0, 10, 9, 9, "T"}, {13, 11, 78, 29, "X", 15}},
       "T\n"
       " ┌─────────┐\n"
       " │X        │\n"
       " └─────────┘"},
      {"lines of a framed object keep their share of the frame",
       1.0,
       true,
       {{13, 10, 78, 58, "one", 13, 0},
        {13, 10, 78, 58, "two", 5, 1},
        {13, 10, 78, 58, "three", 7, 2}},
       " ┌─────────┐\n"
       " │one      │\n"
       " │two      │\n"
       " │three    │\n"
       " └─────────┘"},
      {"single sides: a rule under a text",
       1.0,
       true,
       {{13, 10, 78, 28, "Sum", kFrameBottom}},
       "  Sum\n"
       " ───────────"},
      {"a tab inside a text stays a tab",
       1.0,
       true,
       {{13, 10, 78, 28, "a\tb", 15}},
       " ┌─────────┐\n"
       " │a\tb      │\n"
       " └─────────┘"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    TvtTextExport filter;
    filter.PageBreaks = false;
    filter.ExportFrames = true;
    filter.UsePseudographic = true;
    EXPECT_EQ(Readable(ExportPieces(filter, c.pieces)), c.expected);
  }
}

TEST_F(TextExportTest, PlainFramesAndFramesSwitchedOff) {
  const std::vector<TextPiece> cells = {{13, 10, 78, 28, "A", 15}, {78, 10, 143, 28, "B", 15}};
  TvtTextExport filter;
  filter.PageBreaks = false;
  filter.ExportFrames = true;
  EXPECT_EQ(Readable(ExportPieces(filter, cells)),
            " +---------+---------+\n"
            " |A        |B        |\n"
            " +---------+---------+");
  filter.ExportFrames = false;
  EXPECT_EQ(Readable(ExportPieces(filter, cells)), "  A         B");
}

TEST_F(TextExportTest, PageBreakIsAFormFeedLineNeverAFrame) {
  TvtTextExport filter;
  filter.ExportFrames = true;
  filter.UsePseudographic = true;
  const std::string bytes = ExportPieces(filter, {{13, 10, 78, 28, "Hi", 15}});
  EXPECT_TRUE(bytes.ends_with("\xD9\r\n\f\r\n")) << Readable(bytes);
  // An empty page is the form feed alone; without page breaks it is nothing.
  EXPECT_EQ(ExportPieces(filter, {}), "\f\r\n");
  filter.PageBreaks = false;
  EXPECT_EQ(ExportPieces(filter, {}), "");
}

TEST_F(TextExportTest, ConvertToOemChangesTheTextNotTheBoxCharacters) {
  globals().fonts = std::make_shared<FontResolver>(1252);
  TvtTextExport filter;
  filter.PageBreaks = false;
  filter.ExportFrames = true;
  filter.UsePseudographic = true;
  const std::vector<TextPiece> cell = {{13, 10, 78, 28, "caf\xE9", 15}};
  filter.ConvertToOEM = true;
  EXPECT_EQ(Readable(ExportPieces(filter, cell)),
            " ┌─────────┐\n"
            " │caf\x82     │\n"
            " └─────────┘");
  filter.ConvertToOEM = false;
  EXPECT_EQ(Readable(ExportPieces(filter, cell)),
            " ┌─────────┐\n"
            " │caf\xE9     │\n"
            " └─────────┘");
}

TEST_F(TextExportTest, KoreanTextKeepsItsBytesInTheDosCodePage) {
  // Code page 949 is its own DOS code page; "한글" is two double-byte characters.
  TvtTextExport filter;
  filter.PageBreaks = false;
  filter.ConvertToOEM = true;
  EXPECT_EQ(ExportPieces(filter, {{13, 10, 78, 28, "\xC7\xD1\xB1\xDB"}}), "  \xC7\xD1\xB1\xDB\r\n");
}

TEST_F(TextExportTest, MemoExportFillsTheRowsOfItsLines) {
  // The memo lays its text out and hands every line over; a box is drawn around all three.
  TvtReport report;
  TvtTextExport filter;
  filter.PageBreaks = false;
  filter.ExportFrames = true;
  globals().CurReport = &report;
  globals().mode = EngineMode::Run;
  report.ExportFilter = &filter;
  TvtMemoView memo;
  memo.SetBounds(13, 20, 130, 60);
  memo.FrameTyp = kFrameAll;
  memo.Memo = {"one", "two", "three\x01"};
  std::ostringstream out;
  filter.Stream = &out;
  filter.OnBeginPage();
  memo.ExportTo();
  filter.OnEndPage();
  report.ExportFilter = nullptr;
  EXPECT_EQ(Readable(out.str()),
            " +-------------------+\n"
            " |one                |\n"
            " |two                |\n"
            " |three              |\n"
            " +-------------------+");
}

TEST_F(TextExportTest, RegistersAsTextWithItsSettings) {
  TvtTextExport filter;
  ASSERT_EQ(globals().export_filters.Count(), 1);
  EXPECT_EQ(globals().export_filters.Items(0).Filter, &filter);
  EXPECT_EQ(globals().export_filters.Items(0).Description, "ASCII Text file (*.txt)");
  EXPECT_EQ(globals().export_filters.Items(0).Mask, "*.txt");
  TvtTextExport second;
  EXPECT_EQ(globals().export_filters.Count(), 1);

  EXPECT_TRUE(filter.ShowDialog);
  EXPECT_FALSE(filter.Default);
  EXPECT_EQ(filter.ScaleX, 1.0);
  EXPECT_EQ(filter.ScaleY, 1.0);
  EXPECT_TRUE(filter.KillEmptyLines);
  EXPECT_FALSE(filter.ConvertToOEM);
  EXPECT_FALSE(filter.ExportFrames);
  EXPECT_FALSE(filter.UsePseudographic);
  EXPECT_TRUE(filter.PageBreaks);
  EXPECT_DOUBLE_EQ(filter.CellWidth(), 6.5);
}

}  // namespace
}  // namespace zr
