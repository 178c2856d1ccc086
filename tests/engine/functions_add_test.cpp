#include <gtest/gtest.h>

#include "functions_fixture.h"
#include "platform/errors.h"

namespace zr {
namespace {

Value date(int y, int m, int d) {
  return Value::date_time(encode_date(y, m, d));
}

Value date_time(int y, int m, int d, int h, int n) {
  return Value::date_time(encode_date(y, m, d) + encode_time(h, n, 0, 0));
}

class AddFunctionsTest : public FunctionsTest {
 protected:
  AddFunctionsTest() {
    set("Jan31", date(2004, 1, 31));
    set("Mar1", date(2004, 3, 1));
    set("Mar15", date(2003, 3, 15));
    set("Dec15", date_time(2003, 12, 15, 10, 30));
    set("Feb29", date(2004, 2, 29));
    set("Eleven", date_time(1899, 12, 30, 23, 0));
  }
};

TEST_F(AddFunctionsTest, TextFunctions) {
  expect_calls({
      {"CHR(65)", "A"},
      {"CHR(321)", "A"},
      {"COMPARESTR('abc', 'abd')", 3},
      {"COMPARESTR('ab', 'abc')", 3},
      {"COMPARESTR('abc', 'abc')", 0},
      {"COMPARESTR('Abc', 'abc')", 1},
      {"DELETE('abcdef', 2, 3)", "aef"},
      {"DELETE('abc', 2, 99)", "a"},
      {"DELETE('abc', 0, 1)", "abc"},
      {"DELETE('abc', 4, 1)", "abc"},
      {"DELETE('abc', 2, 0)", "abc"},
      {"ENDPOS('abcab', 'ab')", 4},
      {"ENDPOS('ab', 'abc')", 0},
      {"ENDPOS('abc', '')", 3},
      {"ENDPOS('abc', 'x')", 0},
      {"INSERT('X', 'abc', 2)", "aXbc"},
      {"INSERT('X', 'abc', 0)", "Xabc"},
      {"INSERT('X', 'abc', 9)", "abcX"},
      {"LEFTCOPY('abc', 5)", "abc"},
      {"LEFTCOPY('abc', 2)", "ab"},
      {"LEFTCOPY('abc', -1)", ""},
      {"RIGHTCOPY('abc', 5)", ""},
      {"RIGHTCOPY('abc', 2)", "bc"},
      {"RIGHTCOPY('abc', 0)", ""},
      {"NPOS('a', 'banana', 3)", 6},
      {"NPOS('a', 'banana', 4)", 0},
      {"NPOS('aa', 'aaaa', 2)", 2},
      {"NPOS('a', 'banana', 0)", 0},
      {"PADLEFT('7', 3, '0')", "007"},
      {"PADLEFT(' 7 ', 3, '0')", "007"},
      {"PADLEFT('12345', 3, '0')", "12345"},
      {"PADRIGHT('7', 3, '-')", "7--"},
      {"PADRIGHT('7', 4, 'ab')", "7ababab"},
      {"PADCENTER('ab', 6, '*')", "**ab**"},
      {"PADCENTER('ab', 6, ' ')", "ab    "},
      {"REPLACESTR('aaa', 'aa', 'b')", "ba"},
      {"REPLACESTR('aXbX', 'X', 'yy')", "ayybyy"},
      {"REPLACESTR('abc', '', 'x')", "abc"},
      {"REPLICATE('ab', 3)", "ababab"},
      {"REPLICATE('x', 0)", ""},
      {"REPLICATE('x', -2)", ""},
      {"TRIMLEFT('  a ')", "a "},
      {"TRIMRIGHT('  a ')", "  a"},
      {"FORMATINT(5, 42)", "   42"},
      {"FORMATINT(-5, 42)", "42   "},
      {"FORMATINT(1, -42)", "-42"},
  });
}

TEST_F(AddFunctionsTest, Words) {
  expect_calls({
      {"WORDCOUNT(' a  b c ', ' ')", 3},
      {"WORDCOUNT('', ' ')", 0},
      {"WORDCOUNT('a b', '')", 1},
      {"WORDPOSITION(2, ' a  b c ', ' ')", 5},
      {"WORDPOSITION(9, ' a  b c ', ' ')", 0},
      {"EXTRACTWORD(2, 'one, two;three', ', ;')", "two"},
      {"EXTRACTWORD(4, 'one, two;three', ', ;')", ""},
      {"EXTRACTWORD(0, 'one', ' ')", ""},
      {"ISWORDPRESENT('two', 'one two', ' ')", true},
      {"ISWORDPRESENT('Two', 'one two', ' ')", false},
      {"ISWORDPRESENT('tw', 'one two', ' ')", false},
  });
}

TEST_F(AddFunctionsTest, DateFunctions) {
  expect_calls({
      {"INCMONTH([Jan31], 1)", date(2004, 2, 29)},
      {"INCMONTH([Jan31], -1)", date(2003, 12, 31)},
      {"INCMONTH([Jan31], 13)", date(2005, 2, 28)},
      {"INCMONTH([Jan31], -13)", date(2002, 12, 31)},
      {"INCMONTH([Dec15], 1)", date_time(2004, 1, 15, 10, 30)},
      {"INCYEAR([Feb29], 1)", date(2005, 2, 28)},
      {"INCDATE([Mar15], '1;1;1')", date(2004, 4, 16)},
      {"INCDATE([Mar15], '-15;0;0')", date(2003, 2, 28)},
      {"INCDAY([Dec15], 20)", date_time(2004, 1, 4, 10, 30)},
      {"INCTIME([Eleven], '2;0;0;0')", date_time(1899, 12, 31, 1, 0)},
      {"INCTIME([Eleven], '0;30;0;0')", date_time(1899, 12, 30, 23, 30)},
      {"FIRSTDAYOFNEXTMONTH([Dec15])", date(2004, 1, 1)},
      {"FIRSTDAYOFPREVMONTH([Jan31])", date(2003, 12, 1)},
      {"LASTDAYOFPREVMONTH([Mar1])", date(2004, 2, 29)},
      {"DAYSPERMONTH(2004, 2)", 29},
      {"DAYSPERMONTH(2003, 2)", 28},
      {"DAYSPERMONTH(2003, 4)", 30},
      {"DAYSPERMONTH(2003, 13)", 0},
      {"ISLEAPYEAR(2000)", true},
      {"ISLEAPYEAR(1900)", false},
      {"ISLEAPYEAR(2004)", true},
      {"ISRANGEDATE([Jan31], [Mar1], [Feb29])", true},
      {"ISRANGEDATE([Jan31], [Mar1], [Mar15])", false},
      {"ISRANGENUM(1, 3, 3)", true},
      {"ISRANGENUM(1, 3, 3.5)", false},
      {"DATETOSTR([Jan31])", "2004-01-31"},
      {"TIMETOSTR([Eleven])", Value(time_to_str(date_time(1899, 12, 30, 23, 0).raw_double()))},
      {"STRTODATEDEF('2004-02-29', [Jan31])", date(2004, 2, 29)},
      {"STRTODATEDEF('2004-02-30', [Jan31])", date(2004, 1, 31)},
      {"VALIDDATE('2004-02-29')", true},
      {"VALIDDATE('2004-02-30')", false},
  });
}

TEST_F(AddFunctionsTest, NumberConversions) {
  expect_calls({
      {"STRTOFLOAT('1.5')", 1.5},
      {"STRTOFLOATDEF('x', 2.5)", 2.5},
      {"STRTOFLOATDEF('-3e2', 2.5)", -300.0},
      {"STRTOINT('$1F')", 31},
      {"STRTOINT(' -12')", -12},
      {"STRTOINTDEF('1.5', 7)", 7},
      {"STRTOINTDEF('8', 7)", 8},
      {"VALIDFLOAT('1e3')", true},
      {"VALIDFLOAT('1e')", false},
      {"VALIDINT('12a')", false},
      {"VALIDINT('$ff')", true},
  });
}

TEST_F(AddFunctionsTest, PlaceholdersReturnZero) {
  expect_calls({{"CREATEDATE('x')", 0}, {"CREATENUM(5)", 0}, {"CREATESTR('')", 0}});
}

TEST_F(AddFunctionsTest, ConversionFailuresPropagate) {
  for (const char* expression : {"STRTOINT('1.5')", "STRTOFLOAT('x')", "INCDATE([Mar15], '1;1')",
                                 "INCTIME([Eleven], '1;x;0;0')", "LEFTCOPY('abc', 'x')",
                                 "DATETOSTR('not a date')", "CHR('A')"}) {
    EXPECT_THROW(eval(expression), ConversionError) << expression;
  }
}

TEST_F(AddFunctionsTest, BuiltTextsAreLimited) {
  // 9 MB twice is past the 16 MB limit.
  set("Big", Value(std::string(9000000, 'a')));
  for (const char* expression :
       {"REPLICATE('ab', 2000000000)", "PADLEFT('a', 2000000000, 'x')",
        "PADCENTER('a', 2000000000, 'x')", "REPLACESTR([Big], 'a', 'bb')",
        "INSERT([Big], [Big], 2)", "[Big] + [Big]", "UPPERCASE([Big]) + LOWERCASE([Big])"}) {
    try {
      eval(expression);
      ADD_FAILURE() << expression << " gave no error";
    } catch (const ZorelError& e) {
      EXPECT_STREQ(e.what(), "Text too long") << expression;
    }
  }
  EXPECT_TRUE(eval("LENGTH(REPLICATE('ab', 8388608))").identical(Value(int32_t{16777216})));
  EXPECT_TRUE(eval("LENGTH(REPLACESTR([Big], 'aaa', 'b'))").identical(Value(int32_t{3000000})));
}

TEST_F(AddFunctionsTest, DateDiffAssignsTheScriptVariable) {
  EXPECT_TRUE(eval("DATEDIFF([Jan31], [Mar1], res)").identical(Value(0)));
  EXPECT_TRUE(variables.GetVariable("res").identical(Value("1;1;0")));
  eval("DATEDIFF([Mar1], [Jan31], back)");
  EXPECT_TRUE(variables.GetVariable("back").identical(Value("1;1;0")));
  eval("DATEDIFF([Mar15], [Mar1], long)");  // 15 March 2003 to 1 March 2004
  EXPECT_TRUE(variables.GetVariable("long").identical(Value("17;11;0")));
}

TEST_F(AddFunctionsTest, SwapExchangesScriptVariables) {
  set("a", 1);
  set("b", "two");
  EXPECT_TRUE(eval("SWAP(a, b)").identical(Value(0)));
  EXPECT_TRUE(variables.GetVariable("a").identical(Value("two")));
  EXPECT_TRUE(variables.GetVariable("b").identical(Value(1)));
  EXPECT_TRUE(variables.GetVariable("MTV2VT").identical(Value(1)));
}

TEST_F(AddFunctionsTest, ScriptFunctionsNeedAnInterpreter) {
  context.run_script_line = nullptr;
  EXPECT_THROW(eval("SWAP(a, b)"), ZorelError);
}

TEST(AddFunctionLibraryComponent, FormatDateIsKeptInBothPlaces) {
  std::string shared = "left over";
  TvtAddFunctionLibrary component(&shared);
  EXPECT_EQ(shared, "");
  EXPECT_EQ(component.FormatDate(), "");
  component.SetFormatDate("yyyy");
  EXPECT_EQ(component.FormatDate(), "yyyy");
  EXPECT_EQ(shared, "yyyy");
}

TEST_F(AddFunctionsTest, NamesAreInFunctionNumberOrder) {
  const TvtFunctionLibrary* library = registry.Find(TAddFunctionLibrary::kClassName);
  ASSERT_NE(library, nullptr);
  ASSERT_EQ(library->FunctionNames().size(), 47u);
  EXPECT_EQ(library->FunctionNumber("chr"), 0);
  EXPECT_EQ(library->FunctionNumber("SWAP"), 37);
  EXPECT_EQ(library->FunctionNumber("FORMATINT"), 46);
}

}  // namespace
}  // namespace zr
