#include "engine/run/parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/date_time.h"

namespace zr {
namespace {

// Postfix with its operator codes spelled out, so that expectations read as text.
std::string readable(std::string_view postfix) {
  static const char* const kNames[] = {"",      "{>=}",  "{<=}",   "{<>}",  "{OR}",
                                       "{AND}", "{INT}", "{FRAC}", "",      "{NEG}",
                                       "{POS}", "{STR}", "{NOT}",  "{MOD}", "{ROUND}"};
  std::string text;
  for (char c : postfix) {
    const auto code = static_cast<unsigned char>(c);
    text += code < std::size(kNames) && kNames[code][0] ? kNames[code] : std::string(1, c);
  }
  return text;
}

// Names come back as "get:" + name, other functions as NAME(p1|p2|p3): what reached the
// callbacks is part of the value.
class ParserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parser.OnGetValue = [](const std::string& name, Value& out) { out = Value("get:" + name); };
    parser.OnFunction = [](const std::string& name, const Value& p1, const Value& p2,
                           const Value& p3, Value& out) {
      out = Value(name + "(" + p1.to_string() + "|" + p2.to_string() + "|" + p3.to_string() + ")");
    };
  }
  TvtParser parser;
};

struct Case {
  const char* expression;
  const char* postfix;  // readable()
  Value expected;       // kind and content
};

TEST_F(ParserTest, ConvertsAndEvaluates) {
  const Case cases[] = {
      {"2 + 3 * 4", "2 3 4 *+", 14.0},
      {"(2 + 3) * 4", "2 3 +4 *", 20.0},
      {"1 = 1 and 2 = 2", "1 1 2 {AND}=2 =", Value::byte(0)},
      {"(1 = 1) and (2 = 2)", "1 1 =2 2 ={AND}", 1},
      {"-2 * 3", "2 3 *{NEG}", -6.0},
      {"+2", "2 {POS}", 2.0},
      {"10 / 0", "10 0 /", 0},
      {"1 / 4", "1 4 /", 0.25},
      {"7 mod 3", "7 3 {MOD}", 1},
      {"6 or 1", "6 1 {OR}", 7},
      {"1 <> 2", "1 2 {<>}", Value::byte(1)},
      {"2 >= 2", "2 2 {>=}", Value::byte(1)},
      {"3 <= 2", "3 2 {<=}", Value::byte(0)},
      {"1 < 2 = 1", "1 2 <1 =", Value::byte(1)},
      {"not 0", "0 {NOT}", Value::byte(1)},
      {"not 2", "2 {NOT}", Value::byte(0)},
      {"'It''s'", "'It''s' ", "It's"},
      {"'a' + 'b'", "'a' 'b' +", "ab"},
      {"'b' > 'a'", "'b' 'a' >", Value::byte(1)},
      {"1,5 + .5", "1,5 .5 +", 2.0},
      {"int(2.9999999999999)", "2.9999999999999 {INT}", 3.0},
      {"int(-2.5)", "2.5 {NEG}{INT}", -2.0},
      {"frac(2.75)", "2.75 {FRAC}", 0.75},
      {"frac(2.99999999999999)", "2.99999999999999 {FRAC}", 0.0},
      {"round(2.5)", "2.5 {ROUND}", 2},
      {"round(3.5)", "3.5 {ROUND}", 4},
      {"str(1.5) + 'x'", "1.5 {STR}'x' +", "1.5x"},
      {"TRUE", "TRUE ", true},
      {"false", "false ", false},
      {"IF(0.5, 'x', 'y')", "IF(0.5, 'x', 'y')", "y"},
      {"IF(1 = 1, 'x', 'y')", "IF(1 = 1, 'x', 'y')", "x"},
      {"COPY('abcdef', 2, 3)", "COPY('abcdef', 2, 3)", "bcd"},
      {"copy('abc', 0, 2) + copy('abc', 3, 9)", "copy('abc', 0, 2)copy('abc', 3, 9)+", "abc"},
      {"COPY('a,b)', 1, 9)", "COPY('a,b)', 1, 9)", "a,b)"},
      {"STRTODATE('2024-03-05')", "STRTODATE('2024-03-05')",
       Value::date_time(encode_date(2024, 3, 5))},
      {"STRTOTIME('06:00')", "STRTOTIME('06:00')", Value::date_time(0.25)},
      {"[Name Of Thing]", "[Name Of Thing] ", "get:Name Of Thing"},
      {"price", "price ", "get:PRICE"},
      {"\"My Table\".\"My Field\" + 'x'", "\"My Table\".\"My Field\" 'x' +",
       "get:\"MY TABLE\".\"MY FIELD\"x"},
      {"arr[i + 1]", "arr[i + 1] ", "GETARRAY(arr| i + 1|)"},
      {"f(a, b, c, d)", "f(a, b, c, d)", "F(a| c|)"},
      {"f(a, b, c)", "f(a, b, c)", "F(a| b| c)"},
      {"g()", "g()", "G(||)"},
      {"'x' ; more", "'x' ", "x"},
      {"2) + 1", "2 1 +", 3.0},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    const std::string postfix = parser.ToPostfix(c.expression);
    EXPECT_EQ(readable(postfix), c.postfix);
    const Value value = parser.EvaluatePostfix(postfix);
    EXPECT_TRUE(value.identical(c.expected)) << describe(value);
  }
}

TEST_F(ParserTest, OnlyTheChosenBranchIsEvaluated) {
  std::vector<std::string> seen;
  parser.OnGetValue = [&](const std::string& name, Value& out) {
    seen.push_back(name);
    out = Value(int32_t{1});
  };
  EXPECT_TRUE(parser.Evaluate("IF(0, a, b)").identical(Value(int32_t{1})));
  EXPECT_EQ(seen, std::vector<std::string>{"B"});
}

TEST_F(ParserTest, Errors) {
  std::string operands32;
  for (int i = 0; i < 32; ++i) operands32 += "1 ";
  EXPECT_TRUE(parser.Evaluate(operands32).identical(1.0));
  EXPECT_THROW(parser.Evaluate(operands32 + "1"), ZorelError);
  EXPECT_THROW(parser.Evaluate(operands32 + "[x]"), ZorelError);
  EXPECT_THROW(parser.Evaluate(operands32 + "f(1)"), ZorelError);

  // A sign right after a binary operator converts to an operator without its operands.
  EXPECT_THROW(parser.Evaluate("2 - -3"), ZorelError);
  EXPECT_THROW(parser.Evaluate("2 * -3"), ZorelError);
  EXPECT_THROW(parser.Evaluate("-"), ZorelError);
  EXPECT_THROW(parser.EvaluatePostfix("\x01\x05\x0c"), ZorelError);

  for (const char* text : {"f(1, (2)", "'a' + g('x)'"}) {
    SCOPED_TRACE(text);
    try {
      parser.ToPostfix(text);
      ADD_FAILURE() << "no error";
    } catch (const UnbalancedArgumentsError& e) {
      EXPECT_STREQ(e.what(), "");
    }
  }
  EXPECT_THROW(parser.EvaluatePostfix("f(1 "), UnbalancedArgumentsError);
  EXPECT_THROW(parser.Evaluate("(1"), UnbalancedArgumentsError);

  for (const char* text : {"1e-5", "1.2.3", "COPY('abc', 1.5, 1)", "IF('x', 1, 2)",
                           "STRTODATE('soon')", "STRTOTIME('25:00')", "'a' + 1"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(parser.Evaluate(text), ConversionError);
  }
}

TEST_F(ParserTest, NestingIsBounded) {
  // A name whose value is an expression naming itself.
  parser.OnGetValue = [&](const std::string&, Value& out) { out = parser.Evaluate("[self] + 1"); };
  EXPECT_THROW(parser.Evaluate("[self]"), ZorelError);

  const auto nested_ifs = [](int depth) {
    std::string text = "1";
    for (int i = 0; i < depth; ++i) text = "IF(1, " + text + ", 0)";
    return text;
  };
  EXPECT_TRUE(parser.Evaluate(nested_ifs(40)).identical(1.0));
  EXPECT_THROW(parser.Evaluate(nested_ifs(100)), ZorelError);
  // The parser is usable again after the error.
  EXPECT_TRUE(parser.Evaluate("1 + 1").identical(2.0));
}

TEST(ScanningTest, ReadIdentifier) {
  struct {
    const char* text;
    size_t pos;
    const char* expected;
    size_t end;
  } cases[] = {
      {"  abc+1", 0, "abc", 5},
      {"a,b.c;d'e' x", 0, "a,b.c;d'e'", 10},
      {"\"My Table\".\"My Field\"(", 0, "\"My Table\".\"My Field\"", 21},
      {"\"open (", 0, "\"open (", 7},
      {"x[1]", 0, "x", 1},
      {"ab", 5, "", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    size_t pos = c.pos;
    EXPECT_EQ(ReadIdentifier(c.text, pos), c.expected);
    EXPECT_EQ(pos, c.end);
  }
}

TEST(ScanningTest, ReadQuotedAndBracketed) {
  size_t pos = 2;
  EXPECT_EQ(ReadQuoted("x 'a''b' y", pos), "'a''b'");
  EXPECT_EQ(pos, 8u);
  pos = 0;
  EXPECT_EQ(ReadQuoted("'open", pos), "'open");
  EXPECT_EQ(pos, 5u);

  size_t finish = 0;
  EXPECT_EQ(ReadBracketed("[a[b]c] d", 0, finish), "a[b]c");
  EXPECT_EQ(finish, 6u);
  EXPECT_EQ(ReadBracketed("[a']'\"]\"] ", 0, finish), "a']'\"]\"");
  EXPECT_EQ(finish, 8u);
  EXPECT_EQ(ReadBracketed("[\"it's\"]", 0, finish), "\"it's\"");
  EXPECT_EQ(ReadBracketed("x[a]", 0, finish), "");
  EXPECT_EQ(finish, 0u);
  EXPECT_EQ(ReadBracketed("[open", 0, finish), "open");
  EXPECT_EQ(finish, 5u);
}

TEST(ScanningTest, ReadArguments) {
  size_t pos = 1;
  FunctionArguments args = ReadArguments("f(a, (b, c), 'd)', e)+", pos);
  EXPECT_EQ(args.a1, "a");
  EXPECT_EQ(args.a2, " 'd)'");  // the piece before the last one
  EXPECT_EQ(args.a3, "");
  EXPECT_EQ(pos, 21u);
  pos = 0;
  args = ReadArguments("(x, 'a,b')", pos);
  EXPECT_EQ(args.a1, "x");
  EXPECT_EQ(args.a2, " 'a,b'");
  pos = 0;
  EXPECT_THROW(ReadArguments("(", pos), UnbalancedArgumentsError);
}

}  // namespace
}  // namespace zr
