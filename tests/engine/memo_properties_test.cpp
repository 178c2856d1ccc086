// What scripts see of a memo: its property table, its names and the LINES methods.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/engine_fixture.h"
#include "engine/model/memo_view.h"

namespace zr {
namespace {

class MemoPropertiesTest : public testing_support::EngineTest {};

TEST_F(MemoPropertiesTest, TableListsTheMemoProperties) {
  TvtMemoView memo;
  memo.RegisterProperties();
  for (const char* name : {"font.name", "FONT", "Lines.Count", "CharWidth", "RTLReading",
                           "DisplayFormat", "Highlight", "GapY", "Stretched"})
    EXPECT_TRUE(memo.HasProperty(name)) << name;
  EXPECT_FALSE(memo.HasProperty("Lines"));
  memo.RegisterProperties();  // rebuilt, not appended
  EXPECT_EQ(std::count_if(memo.PropRec.begin(), memo.PropRec.end(),
                          [](const TvtPropRec& p) { return p.name == "CharWidth"; }),
            1);
}

TEST_F(MemoPropertiesTest, ScriptNamesReadAndWriteFields) {
  struct Case {
    const char* name;
    Value set;
    Value expected;
  };
  const Case cases[] = {
      {"Font.Name", Value("Courier New"), Value("Courier New")},
      {"FONT.SIZE", Value(int32_t{14}), Value(int32_t{14})},
      {"font.style", Value(int32_t{fsBold | fsItalic}), Value(int32_t{3})},
      {"FONT.COLOR", Value(int32_t{0xFF}), Value(int32_t{0xFF})},
      {"ALIGNMENT", Value(int32_t{vttaVertical}), Value(int32_t{4})},
      {"LINESPACING", Value("7"), Value(int32_t{7})},
      {"CHARSPACING", Value(int32_t{-2}), Value(int32_t{-2})},
      {"CHARWIDTH", Value(2.5), Value(int32_t{2})},
      {"WORDBREAK", Value(true), Value(true)},
      {"WORDWRAP", Value(false), Value(false)},
      {"UNDERLINES", Value(int32_t{1}), Value(true)},
  };
  TvtMemoView memo;
  for (const Case& c : cases) {
    memo.SetProperty(c.name, c.set);
    EXPECT_TRUE(memo.GetProperty(c.name).identical(c.expected)) << c.name;
  }
  EXPECT_EQ(memo.Font.Name, "Courier New");
  EXPECT_EQ(memo.Flags, kFlagStretched | kMemoWordBreak | kMemoUnderlines);

  memo.Memo = {"a", "b", "c"};
  EXPECT_TRUE(memo.GetProperty("LINES.COUNT").identical(Value(int32_t{3})));
  memo.SetProperty("LINES.COUNT", Value(int32_t{9}));  // read only
  EXPECT_EQ(memo.Memo.size(), 3u);
  EXPECT_TRUE(memo.GetProperty("NOSUCH").is_null());
  EXPECT_THROW(memo.SetProperty("FONT.SIZE", Value("big")), ConversionError);
}

TEST_F(MemoPropertiesTest, LinesMethodsWorkOnTheText) {
  TvtMemoView memo;
  memo.Memo = {"first"};
  const Value none;
  memo.CallMethod("LINES.ADD", Value("'sec' + 'ond'"), none, none);
  memo.CallMethod("SETINDEXPROPERTY", Value("LINES"), Value(int32_t{0}), Value("one"));
  EXPECT_EQ(memo.Memo, (TvtStrings{"one", "second"}));
  EXPECT_TRUE(memo.CallMethod("GETINDEXPROPERTY", Value("LINES"), Value(int32_t{1}), none)
                  .identical(Value("second")));
  EXPECT_TRUE(
      memo.CallMethod("LINES.INDEXOF", Value("'second'"), none, none).identical(Value(int32_t{1})));
  memo.CallMethod("LINES.DELETE", Value("0"), none, none);
  EXPECT_EQ(memo.Memo, TvtStrings{"second"});
  memo.CallMethod("LINES.CLEAR", none, none, none);
  EXPECT_TRUE(memo.Memo.empty());
  // The common methods still reach the view.
  memo.CallMethod("HIDE", none, none, none);
  EXPECT_FALSE(memo.Visible);
}

}  // namespace
}  // namespace zr
