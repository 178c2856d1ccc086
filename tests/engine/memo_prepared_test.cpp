// A memo writing itself into a prepared page: expansion, highlight, Suppress and the part of
// a split memo that fits.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/engine_fixture.h"
#include "engine/model/memo_view.h"
#include "platform/byte_stream.h"
#include "platform/canvas/trace_canvas.h"

namespace zr {
namespace {

class MemoPreparedTest : public testing_support::EngineTest {
 protected:
  // The records written to `bytes`, read back as a prepared page reads them.
  static std::vector<std::unique_ptr<TvtMemoView>> ReadBack(const std::string& bytes) {
    std::vector<std::unique_ptr<TvtMemoView>> memos;
    ByteReader reader(bytes);
    while (!reader.at_end()) {
      EXPECT_EQ(reader.read_u8(), kObjMemo);
      auto memo = std::make_unique<TvtMemoView>();
      memo->PreparedMode = true;
      memo->LoadFromStream(reader);
      memos.push_back(std::move(memo));
    }
    return memos;
  }
};

TEST_F(MemoPreparedTest, SuppressWritesOnlyTheFirstOfEqualTexts) {
  TvtMemoView memo;
  memo.SetBounds(0, 0, 100, 20);
  memo.SetFlag(kMemoSuppress | kMemoTextOnly, true);
  ByteWriter page;
  for (const char* text : {"Seoul", "Seoul", "Busan", "Busan", "Seoul"}) {
    memo.Memo = {text};
    memo.WriteToPreparedPage(page);
  }
  auto records = ReadBack(page.bytes());
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]->Memo, TvtStrings{"Seoul"});
  EXPECT_EQ(records[1]->Memo, TvtStrings{"Busan"});
  EXPECT_EQ(records[2]->Memo, TvtStrings{"Seoul"});

  // Without Suppress every record is written.
  memo.SetFlag(kMemoSuppress, false);
  memo.WriteToPreparedPage(page);
  EXPECT_EQ(ReadBack(page.bytes()).size(), 4u);
}

TEST_F(MemoPreparedTest, InvisibleMemoWritesNothing) {
  TvtMemoView memo;
  memo.Memo = {"hidden"};
  memo.Visible = false;
  memo.DrawMode = 1;
  ByteWriter page;
  memo.WriteToPreparedPage(page);
  EXPECT_EQ(page.position(), 0u);
  EXPECT_EQ(memo.DrawMode, 0);
}

TEST_F(MemoPreparedTest, HighlightShapesTheRecordOnly) {
  struct Case {
    const char* condition;
    bool highlighted;
  };
  for (Case c : {Case{"1 = 1", true}, Case{"2 < 1", false}, Case{"", false},
                 Case{"'text' + 1", false} /* a failing condition is ignored */}) {
    TvtMemoView memo;
    memo.Memo = {"42"};
    memo.Font.Style = fsItalic;
    memo.Font.Color = 0x112233;
    memo.FillColor = kClNone;
    memo.Highlight = {fsBold | fsUnderline, 0x0000FF, 0x00FFFF};
    memo.HighlightCondition = c.condition;
    memo.CompileHighlight();
    ByteWriter page;
    memo.WriteToPreparedPage(page);
    auto records = ReadBack(page.bytes());
    ASSERT_EQ(records.size(), 1u);
    const TvtMemoView& written = *records[0];
    EXPECT_EQ(written.Font.Style, c.highlighted ? fsBold | fsUnderline : fsItalic) << c.condition;
    EXPECT_EQ(written.Font.Color, c.highlighted ? 0x0000FF : 0x112233) << c.condition;
    EXPECT_EQ(written.FillColor, c.highlighted ? 0x00FFFF : kClNone) << c.condition;
    EXPECT_EQ(memo.Font.Style, fsItalic);
    EXPECT_EQ(memo.FillColor, kClNone);
  }
}

TEST_F(MemoPreparedTest, SplitMemoWritesWhatFitsAndKeepsTheRest) {
  // Arial 10: pitch 15. A height of 33 holds two lines (y 1 and 16, 13 pixels each); the
  // third would end at 44, beyond the rectangle's bottom of 34.
  struct Case {
    const char* what;
    TvtStrings prepared;
    TvtStrings written;
    TvtStrings rest;
  };
  const Case cases[] = {
      {"mid-paragraph cut gets a mark line",
       {"one", "two", "three", "four\x01"},
       {"one", "two", "\x01"},
       {"three", "four\x01"}},
      {"a part that ends a paragraph needs none",
       {"one\x01", "two", "three\x01"},
       {"one\x01", "two"},
       {"three\x01"}},
      {"everything fits", {"one", "two\x01"}, {"one", "two\x01"}, {}},
  };
  for (const Case& c : cases) {
    TvtMemoView memo;
    memo.SetBounds(0, 0, 200, 33);
    memo.ExpandedMemo = c.prepared;
    memo.DrawMode = 2;
    ByteWriter page;
    memo.WriteToPreparedPage(page);
    auto records = ReadBack(page.bytes());
    ASSERT_EQ(records.size(), 1u) << c.what;
    EXPECT_EQ(records[0]->Memo, c.written) << c.what;
    EXPECT_EQ(memo.ExpandedMemo, c.rest) << c.what;
    EXPECT_EQ(memo.DrawMode, 0) << c.what;
  }
}

TEST_F(MemoPreparedTest, DrawingDropsTheMarkLineOfASplitPart) {
  globals().mode = EngineMode::Run;
  TvtMemoView part;
  part.SetBounds(0, 0, 200, 33);
  part.Alignment = vttaJustify;
  part.Memo = {"one two", "three four", "\x01"};
  TraceCanvas canvas(globals().fonts);
  part.Draw(canvas);
  const std::string& trace = canvas.trace();
  // Two lines, taken as wrapped (not broken again), both stretched as inner lines.
  EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 2) << trace;
  EXPECT_NE(trace.find("\"one two\" font=\"Arial\"/-13/- color=#000000 bk=transparent justify="),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("\"three four\" font=\"Arial\"/-13/- color=#000000 bk=transparent justify="),
            std::string::npos)
      << trace;
  EXPECT_EQ(part.ExpandedMemo, (TvtStrings{"one two", "three four"}));
}

TEST_F(MemoPreparedTest, ExpansionSplitsLineBreaksInsideValues) {
  TvtMemoView memo;
  memo.SetFlag(kMemoTextOnly, true);
  memo.Memo = {"a\r\nb", "", "c\r\n", "d"};
  memo.ExpandMemo();
  EXPECT_EQ(memo.ExpandedMemo, (TvtStrings{"a", "b", "", "c", "d"}));
}

}  // namespace
}  // namespace zr
