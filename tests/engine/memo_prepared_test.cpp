// A memo writing itself into a prepared page: expansion, highlight, Suppress and the part of
// a split memo that fits.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"
#include "engine/model/memo_view.h"
#include "platform/byte_stream.h"

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

}  // namespace
}  // namespace zr
