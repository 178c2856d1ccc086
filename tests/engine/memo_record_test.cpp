// The memo's record after the common object record: written in the current form, read in
// every form older streams carry.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"
#include "engine/model/memo_view.h"
#include "platform/byte_stream.h"
#include "platform/codepage.h"

namespace zr {
namespace {

class MemoRecordTest : public testing_support::EngineTest {
 protected:
  static void Configure(TvtMemoView& memo) {
    memo.Name = "Total";
    memo.SetBounds(10, 20, 150, 40);
    memo.Flags = kFlagStretched | kMemoWordBreak | kMemoSuppress | kMemoRTLReading;
    memo.Memo = {"[Sum #N0.00]", "second"};
    memo.Font = {utf8_to_ansi("굴림"), 12, fsBold | fsUnderline, 0x0000FF, 129};
    memo.Alignment = vttaCenter | vttaMiddle;
    memo.Highlight = {fsItalic, 0x00FF00, 0xEEEEEE};
    memo.HighlightCondition = "[Sum] > 100";
    memo.LineSpacing = 5;
    memo.CharSpacing = -1;
    memo.CharWidth = 80;
  }
};

TEST_F(MemoRecordTest, DesignRecordRoundTrips) {
  TvtMemoView memo;
  Configure(memo);
  ByteWriter writer;
  memo.SaveToStream(writer);
  const std::string bytes = writer.take();

  ByteReader reader(bytes);
  TvtMemoView back;
  back.LoadFromStream(reader);
  EXPECT_TRUE(reader.at_end());
  EXPECT_EQ(back.Name, "Total");
  EXPECT_EQ(back.Flags, memo.Flags);
  EXPECT_EQ(back.Memo, memo.Memo);
  EXPECT_EQ(back.Font, memo.Font);
  EXPECT_EQ(back.Alignment, memo.Alignment);
  EXPECT_EQ(back.Highlight, memo.Highlight);
  EXPECT_EQ(back.HighlightCondition, memo.HighlightCondition);
  EXPECT_EQ(back.LineSpacing, 5);
  EXPECT_EQ(back.CharSpacing, -1);
  EXPECT_EQ(back.CharWidth, 80);

  ByteWriter again;
  back.SaveToStream(again);
  EXPECT_EQ(again.bytes(), bytes);
}

TEST_F(MemoRecordTest, PreparedRecordCarriesTheExpandedTextWithoutHighlight) {
  TvtMemoView memo;
  Configure(memo);
  memo.ExpandedMemo = {"123.00\x01"};
  ByteWriter design;
  memo.SaveToStream(design);
  memo.PreparedMode = true;
  ByteWriter prepared;
  memo.SaveToStream(prepared);
  const std::string bytes = prepared.take();

  ByteReader reader(bytes);
  TvtMemoView back;
  back.PreparedMode = true;
  back.LoadFromStream(reader);
  EXPECT_TRUE(reader.at_end());
  EXPECT_EQ(back.Memo, memo.ExpandedMemo);
  EXPECT_EQ(back.Font, memo.Font);
  EXPECT_EQ(back.CharWidth, 80);
  EXPECT_EQ(back.Highlight, TvtHighlight{});
  EXPECT_EQ(back.HighlightCondition, "");
}

// A record as forms of stream version 21 and 22 stored it: terminated strings, no name, no
// version bytes, no spacing and no character width.
std::string OldRecord(int version, uint16_t flags) {
  ByteWriter w(version);
  for (int32_t v : {10, 20, 150, 40}) w.write_i32(v);
  w.write_u16(flags);
  w.write_u16(0);  // FrameTyp
  w.write_i32(1);  // frame width
  w.write_i32(0);  // FrameColor
  w.write_u16(0);  // FrameStyle
  w.write_i32(kClNone);
  w.write_i32(0x22E);  // DisplayFormat
  w.write_string("");
  w.write_string_list({"Hello"});
  w.write_string("Arial");
  w.write_i32(12);
  w.write_u16(fsBold);
  w.write_i32(0xFF);
  w.write_i32(vttaRight);
  w.write_u16(129);  // replaced: old forms held the writer's character set
  w.write_u16(fsItalic);
  w.write_i32(0);
  w.write_i32(0xFFFFFF);
  w.write_string("");
  return w.take();
}

TEST_F(MemoRecordTest, OldRecordsKeepTheDefaultsOfLaterFields) {
  struct Case {
    int version;
    uint16_t flags_read;
  };
  for (Case c : {Case{21, kFlagStretched | kMemoWordWrap}, Case{22, kFlagStretched}}) {
    const std::string bytes = OldRecord(c.version, kFlagStretched);
    ByteReader reader(bytes, "old form", c.version);
    TvtMemoView memo;
    memo.CharWidth = 50;  // not in the record: must come back to 100
    memo.LoadFromStream(reader);
    EXPECT_TRUE(reader.at_end()) << c.version;
    EXPECT_EQ(memo.Flags, c.flags_read) << c.version;
    EXPECT_EQ(memo.Memo, TvtStrings{"Hello"});
    EXPECT_EQ(memo.Font, (TvtMemoFont{"Arial", 12, fsBold, 0xFF, kDefaultCharset}));
    EXPECT_EQ(memo.Alignment, vttaRight);
    EXPECT_EQ(memo.LineSpacing, 2);
    EXPECT_EQ(memo.CharSpacing, 0);
    EXPECT_EQ(memo.CharWidth, 100);
  }
}

TEST_F(MemoRecordTest, ConstructorDefaults) {
  TvtMemoView memo;
  EXPECT_EQ(memo.NamePrefix, "Memo");
  EXPECT_EQ(memo.ObjectType, kObjMemo);
  EXPECT_EQ(memo.Flags, kFlagStretched | kMemoWordWrap);
  EXPECT_EQ(memo.Font, (TvtMemoFont{"Arial", 10, 0, 0, kDefaultCharset}));
  EXPECT_EQ(memo.Highlight, (TvtHighlight{fsBold, 0, 0xFFFFFF}));
  EXPECT_EQ(memo.LineSpacing, 2);
  EXPECT_EQ(memo.CharSpacing, 0);
  EXPECT_EQ(memo.CharWidth, 100);
}

}  // namespace
}  // namespace zr
