#include <gtest/gtest.h>

#include "functions_fixture.h"
#include "platform/errors.h"

namespace zr {
namespace {

class StdFunctionsTest : public FunctionsTest {
 protected:
  StdFunctionsTest() { set("Day", Value::date_time(encode_date(2004, 1, 31))); }
};

TEST_F(StdFunctionsTest, TextAndNumberFunctions) {
  expect_calls({
      {"LENGTH('abc')", 3},
      {"LENGTH('')", 0},
      {"LOWERCASE('AbC')", "abc"},
      {"UPPERCASE('AbC')", "ABC"},
      {"NAMECASE('jOHN sMITH')", "John smith"},
      {"NAMECASE('')", ""},
      {"POS('b', 'abc')", 2},
      {"POS('x', 'abc')", 0},
      {"TRIM('  a b \t')", "a b"},
      {"MAXNUM(3, 7)", 7.0},
      {"MAXNUM(7, 3)", 7.0},
      {"MINNUM(3, 7)", 3.0},
      {"MAXNUM('b', 'a')", "b"},
      {"DAYOF([Day])", 31},
      {"MONTHOF([Day])", 1},
      {"YEAROF([Day])", 2004},
      {"DAYOF('2003-07-04')", 4},
  });
}

TEST_F(StdFunctionsTest, Formatting) {
  expect_calls({
      {"FORMATTEXT('000-00', '12345')", "123-45"},
      {"FORMATTEXT('000-00', '12')", "12 -  "},
      {"FORMATFLOAT('#,##0.00', 1234.5)", "1,234.50"},
      {"FORMATFLOAT('0.0', '2.25')", "2.3"},
      {"FORMATDATETIME('yyyy/mm/dd', [Day])", "2004-01-31"},
      {"FORMATDATETIME('d.m.yy', '2003-07-04')", "4.7.03"},
  });
}

TEST_F(StdFunctionsTest, MessageBoxGoesThroughUiServices) {
  EXPECT_TRUE(
      eval("MESSAGEBOX('Save?', 'Report', mb_YesNo + mb_IconQuestion)").identical(Value(6)));
  ui.script_message_answer(IDNO);
  EXPECT_TRUE(eval("MESSAGEBOX('Save?', 'Report', 36)").identical(Value(7)));
  ASSERT_EQ(ui.calls().size(), 2u);
  EXPECT_EQ(ui.calls()[0].kind, UiCall::Kind::Message);
  EXPECT_EQ(ui.calls()[0].text, "Save?");
  EXPECT_EQ(ui.calls()[0].caption, "Report");
  EXPECT_EQ(ui.calls()[0].flags, MB_YESNO | MB_ICONQUESTION);
  // The default button of OK/Cancel is OK.
  EXPECT_TRUE(eval("MESSAGEBOX('x', '', mb_OkCancel)").identical(Value(IDOK)));
}

TEST_F(StdFunctionsTest, InputGivesTheEntryOrTheDefault) {
  EXPECT_TRUE(eval("INPUT('Name?', 'Bob')").identical(Value("Bob")));
  ui.script_input_answer("Ann");
  EXPECT_TRUE(eval("INPUT('Name?', 'Bob')").identical(Value("Ann")));
  ui.script_input_answer(std::nullopt);
  EXPECT_TRUE(eval("INPUT('Name?', 'Bob')").identical(Value("Bob")));
  ASSERT_EQ(ui.calls().size(), 3u);
  EXPECT_EQ(ui.calls()[0].kind, UiCall::Kind::Input);
  EXPECT_EQ(ui.calls()[0].caption, "");
  EXPECT_EQ(ui.calls()[0].text, "Name?");
  EXPECT_EQ(ui.calls()[0].default_text, "Bob");
}

TEST_F(StdFunctionsTest, ConversionFailuresPropagate) {
  for (const char* expression : {"DAYOF('not a date')", "MESSAGEBOX('a', 'b', 'x')",
                                 "FORMATFLOAT('0', 'abc')", "YEAROF('2004-13-01')"}) {
    EXPECT_THROW(eval(expression), ConversionError) << expression;
  }
  EXPECT_TRUE(ui.calls().empty());
}

TEST_F(StdFunctionsTest, UnknownNamesAndAggregatesOutsideARunGiveZero) {
  expect_calls({{"NOSUCHFUNCTION(1)", "0"}, {"SUM([X])", "0"}, {"COUNT()", "0"}});
}

TEST_F(StdFunctionsTest, ArgumentsMayHoldCalls) {
  expect_calls(
      {{"UPPERCASE(LOWERCASE('AB') + TRIM(' c '))", "ABC"}, {"LENGTH(PADLEFT('7', 3, '0'))", 3}});
}

TEST(ConstantList, HoldsTheNamedConstants) {
  TvtVariables list;
  FillConstantList(list);
  EXPECT_TRUE(list.Sorted());
  const struct {
    const char* name;
    Value value;
  } cases[] = {
      {"clRed", 0xFF},
      {"CLWHITE", 0xFFFFFF},
      {"clTransparent", 0x1FFFFFFF},
      {"clScrollBar", static_cast<int32_t>(0x80000000u)},
      {"clBtnFace", static_cast<int32_t>(0x8000000Fu)},
      {"clInfoBk", static_cast<int32_t>(0x80000018u)},
      {"mrYes", 6},
      {"fsBold", 2},
      {"vttaDown", 16},
      {"baRest", 7},
      {"psDouble", 5},
      {"mb_YesNoCancel", 3},
      {"mb_IconWarning", 48},
      {"CRLF", "\r\n"},
      {"Null", Value::null()},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(list.GetVariable(c.name).identical(c.value)) << c.name;
  }
  EXPECT_EQ(list.Count(), 17 + 25 + 5 + 2 + 4 + 5 + 6 + 8 + 6 + 4 + 4);
}

}  // namespace
}  // namespace zr
