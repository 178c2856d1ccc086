#include "platform/value.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/text_limit.h"

namespace zr {
namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();

Value i64(int64_t i) {
  return Value(i);
}
Value date(double d) {
  return Value::date_time(d);
}

using Binary = std::function<Value(const Value&, const Value&)>;

struct BinaryCase {
  const char* name;
  Binary op;
  Value a, b, expected;
};

const Binary kAdd = [](const Value& a, const Value& b) { return a + b; };
const Binary kSub = [](const Value& a, const Value& b) { return a - b; };
const Binary kMul = [](const Value& a, const Value& b) { return a * b; };
const Binary kDiv = [](const Value& a, const Value& b) { return a / b; };
const Binary kMod = value_mod;
const Binary kOr = value_or;
const Binary kAnd = value_and;

TEST(ValueTest, ArithmeticAcrossKinds) {
  const BinaryCase cases[] = {
      {"int + int", kAdd, 2, 3, 5},
      {"int overflow widens", kAdd, kIntMax, 1, i64(2147483648)},
      {"int * int widens", kMul, 65536, 65536, i64(4294967296)},
      {"int64 stays int64", kAdd, i64(5), 1, i64(6)},
      {"int64 overflow becomes double", kAdd, i64(kInt64Max), 1, 9223372036854775808.0},
      {"int64 underflow becomes double", kSub, i64(kInt64Min), 1, -9223372036854775808.0},
      {"byte + byte", kAdd, Value::byte(200), Value::byte(100), 300},
      {"smallint * byte", kMul, Value::small_int(-5), Value::byte(3), -15},
      {"int + double", kAdd, 1, 0.5, 1.5},
      {"true is -1", kAdd, true, 1, 0},
      {"true * true", kMul, true, true, 1},
      {"empty is 0", kAdd, Value(), 7, 7},
      {"empty - empty", kSub, Value(), Value(), 0},
      {"strings concatenate", kAdd, "a", "b", "ab"},
      {"empty beside a string is text", kAdd, Value(), "x", "x"},
      {"string + number is numeric", kAdd, "2", 3, 5.0},
      {"number + string is numeric", kAdd, 3, "2.5", 5.5},
      {"string - string is numeric", kSub, "5", "1", 4.0},
      {"null propagates", kAdd, Value::null(), 1, Value::null()},
      {"null beside a string", kAdd, "a", Value::null(), Value::null()},
      {"date + number", kAdd, date(100), 1, date(101)},
      {"number + date", kAdd, 0.5, date(100), date(100.5)},
      {"date - number", kSub, date(100), 0.25, date(99.75)},
      {"date - date", kSub, date(100), date(40), 60.0},
      {"date * number", kMul, date(2), 2, 4.0},
      {"date - date text", kSub, date(45356), "2024-03-01", 4.0},
      {"date + time text", kAdd, date(45356), "12:00", date(45356.5)},
      {"date + number text", kAdd, "1.5", date(2), date(3.5)},
      {"division is real", kDiv, 7, 2, 3.5},
      {"division of strings", kDiv, "6", "4", 1.5},
      {"division with null", kDiv, Value::null(), 0, Value::null()},
      {"mod", kMod, 7, 3, 1},
      {"mod keeps the dividend's sign", kMod, -7, 3, -1},
      {"mod rounds doubles half even", kMod, 7.5, 3, 2},
      {"mod of a string", kMod, "7", 4, 3},
      {"mod int64", kMod, i64(10), 4, i64(2)},
      {"mod of min by -1", kMod, i64(kInt64Min), -1, i64(0)},
      {"mod with null", kMod, 1, Value::null(), Value::null()},
      {"or on booleans is logical", kOr, true, false, true},
      {"and on booleans is logical", kAnd, true, false, false},
      {"or on integers is bitwise", kOr, 5, 2, 7},
      {"and on integers is bitwise", kAnd, 6, 3, 2},
      {"boolean with integer is bitwise", kOr, true, 2, -1},
      {"or rounds doubles", kOr, 1.5, 0, 2},
      {"or with null", kOr, Value::null(), true, Value::null()},
  };
  for (const auto& c : cases) {
    Value result = c.op(c.a, c.b);
    EXPECT_TRUE(result.identical(c.expected))
        << c.name << ": got " << describe(result) << ", expected " << describe(c.expected);
  }
}

TEST(ValueTest, UnaryMinus) {
  const std::pair<Value, Value> cases[] = {
      {5, -5},
      {kIntMin, i64(2147483648)},
      {i64(kInt64Min), 9223372036854775808.0},
      {Value::small_int(3), -3},
      {true, 1},
      {1.5, -1.5},
      {date(2), date(-2)},
      {"2", -2.0},
      {Value(), 0},
      {Value::null(), Value::null()},
  };
  for (const auto& [operand, expected] : cases) {
    Value result = -operand;
    EXPECT_TRUE(result.identical(expected)) << describe(operand) << " gave " << describe(result);
  }
}

template <typename Error>
void expect_error(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const Error& e) {
    EXPECT_EQ(e.what(), message);
  }
}

TEST(ValueTest, ArithmeticErrors) {
  const std::string not_double = "Could not convert variant of type (String) into type (Double)";
  expect_error<ConversionError>([] { Value("abc") + 1; }, not_double);
  expect_error<ConversionError>([] { Value(1) * ""; }, not_double);
  expect_error<ConversionError>([] { Value::date_time(1) + "soon"; },
                                "Could not convert variant of type (String) into type (Date)");
  expect_error<ConversionError>([] { Value("x") - "y"; }, not_double);
  expect_error<ZorelError>([] { Value(1) / 0; }, "Division by zero");
  expect_error<ZorelError>([] { Value(1) / Value(); }, "Division by zero");
  expect_error<ZorelError>([] { Value(1) / 0.0; }, "Division by zero");
  expect_error<ZorelError>([] { value_mod(5, 0); }, "Division by zero");
  expect_error<ZorelError>([] { value_mod(5, 0.4); }, "Division by zero");
  expect_error<ConversionError>([] { value_mod(1e300, 2); },
                                "Could not convert variant of type (Double) into type (Int64)");
}

// Concatenation builds texts up to the limit and refuses longer ones before building them.
TEST(ValueTest, ConcatenationStopsAtTheTextLimit) {
  const Value half(std::string(kMaxTextLength / 2, 'a'));
  EXPECT_EQ((half + half).raw_string().size(), kMaxTextLength);
  EXPECT_EQ((half + Value() + half).raw_string().size(), kMaxTextLength);
  const Value full = half + half;
  expect_error<ZorelError>([&] { full + "b"; }, "Text too long");
  expect_error<ZorelError>([&] { Value("b") + full; }, "Text too long");
  EXPECT_TRUE((full + Value::null()).is_null());
}

TEST(ValueTest, Comparison) {
  struct Case {
    Value a, b;
    int expected;
  } cases[] = {
      {Value::null(), Value::null(), 0},
      {Value::null(), kIntMin, -1},
      {Value::null(), "", -1},
      {Value(), Value::null(), 1},
      {Value(), "", 0},
      {Value(), "a", -1},
      {Value(), 0, 0},
      {Value(), -1, 1},
      {Value(), Value(), 0},
      {"abc", "abd", -1},
      {"B", "a", -1},        // byte-wise, case matters
      {"\xB0\xA1", "z", 1},  // bytes compare unsigned
      {"ab", "abc", -1},
      {"10", "9", -1},  // two strings compare as text
      {"10", 9, 1},     // a string beside a number compares as a number
      {2, 2.0, 0},
      {Value::byte(255), Value::small_int(-1), 1},
      {i64(kInt64Max), i64(kInt64Max - 1), 1},  // beyond double precision
      {true, false, -1},                        // true is -1
      {true, -1, 0},
      {date(5), 5, 0},
      {date(5.5), date(5), 1},
      {date(45356), "2024-03-05", 0},  // text beside a date reads as a date
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.a.compare(c.b), c.expected) << describe(c.a) << " vs " << describe(c.b);
    EXPECT_EQ(c.b.compare(c.a), -c.expected) << describe(c.b) << " vs " << describe(c.a);
  }
  EXPECT_TRUE(Value(1) == Value(1.0));
  EXPECT_TRUE(Value("a") < Value("b"));
  EXPECT_FALSE(Value::null() == Value());
  expect_error<ConversionError>([] { Value("abc").compare(1); },
                                "Could not convert variant of type (String) into type (Double)");
}

TEST(ValueTest, ToStringAndDescribe) {
  const double day = encode_date(2024, 3, 5);
  struct Case {
    Value v;
    std::string text;
  } cases[] = {
      {Value(), ""},
      {Value::null(), ""},
      {true, "True"},
      {false, "False"},
      {-42, "-42"},
      {i64(kInt64Min), "-9223372036854775808"},
      {1.5, "1.5"},
      {1e20, "1E20"},
      {1.0 / 3, "0.333333333333333"},
      {date(day), "2024-03-05"},
      {date(day + encode_time(15, 4, 5, 0)), "2024-03-05 \xBF\xC0\xC8\xC4 3:04:05"},
      {"\xC7\xD1", "\xC7\xD1"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.v.to_string(), c.text) << describe(c.v);

  EXPECT_EQ(describe(Value(42)), "Integer(42)");
  EXPECT_EQ(describe(Value("a\"b\x01")), "String(\"a\\\"b\\x01\")");
  EXPECT_EQ(describe(Value::null()), "Null");
  EXPECT_EQ(describe(Value(0.1)), "Double(0.1)");
  EXPECT_EQ(describe(date(day)), "DateTime(45356 = 2024-03-05)");
  EXPECT_EQ(testing::PrintToString(Value(true)), "Boolean(True)");
}

TEST(ValueTest, Conversions) {
  EXPECT_EQ(Value(2.5).to_int(), 2);
  EXPECT_EQ(Value(3.5).to_int(), 4);
  EXPECT_EQ(Value(-2.5).to_int(), -2);
  EXPECT_EQ(Value("$10").to_int(), 16);
  EXPECT_EQ(Value(" 12").to_int(), 12);
  EXPECT_EQ(Value("2.5").to_int(), 2);
  EXPECT_EQ(Value(true).to_int(), -1);
  EXPECT_EQ(Value().to_int(), 0);
  EXPECT_EQ(Value(3e9).to_int64(), 3000000000);
  EXPECT_EQ(Value(i64(kInt64Min)).to_int64(), kInt64Min);
  EXPECT_DOUBLE_EQ(Value("1.5").to_double(), 1.5);
  EXPECT_DOUBLE_EQ(Value(true).to_double(), -1);
  EXPECT_DOUBLE_EQ(Value(date(3.25)).to_double(), 3.25);

  EXPECT_TRUE(Value("TRUE").to_bool());
  EXPECT_FALSE(Value("false").to_bool());
  EXPECT_FALSE(Value("0").to_bool());
  EXPECT_TRUE(Value("2").to_bool());
  EXPECT_TRUE(Value(0.1).to_bool());
  EXPECT_FALSE(Value().to_bool());

  EXPECT_DOUBLE_EQ(Value("2024-03-05").to_date_time(), encode_date(2024, 3, 5));
  EXPECT_DOUBLE_EQ(Value("2024-03-05 12:00").to_date_time(), encode_date(2024, 3, 5) + 0.5);
  EXPECT_DOUBLE_EQ(Value("45000.5").to_date_time(), 45000.5);
  EXPECT_DOUBLE_EQ(Value(7).to_date_time(), 7);

  FormatSettings comma = FormatSettings::defaults();
  comma.decimal_separator = ',';
  EXPECT_DOUBLE_EQ(Value("1,5").to_double(comma), 1.5);
  EXPECT_EQ(Value(1.5).to_string(comma), "1,5");

  auto message = [](const char* from, const char* to) {
    return std::string("Could not convert variant of type (") + from + ") into type (" + to + ")";
  };
  expect_error<ConversionError>([] { Value(3e9).to_int(); }, message("Double", "Integer"));
  expect_error<ConversionError>([] { i64(int64_t{1} << 40).to_int(); },
                                message("Int64", "Integer"));
  expect_error<ConversionError>([] { Value("abc").to_int(); }, message("String", "Integer"));
  expect_error<ConversionError>([] { Value::null().to_double(); }, message("Null", "Double"));
  expect_error<ConversionError>([] { Value("yes").to_bool(); }, message("String", "Boolean"));
  expect_error<ConversionError>([] { Value("soon").to_date_time(); }, message("String", "Date"));
  expect_error<ConversionError>([] { Value(std::numeric_limits<double>::quiet_NaN()).to_int(); },
                                message("Double", "Integer"));
}

TEST(ValueTest, KindsAndIdentity) {
  EXPECT_TRUE(Value(1).is_integer());
  EXPECT_TRUE(Value::byte(1).is_integer());
  EXPECT_FALSE(Value(1.0).is_integer());
  EXPECT_TRUE(Value(true).is_number());
  EXPECT_TRUE(date(1).is_number());
  EXPECT_FALSE(Value("1").is_number());
  EXPECT_TRUE(Value(1).identical(Value(1)));
  EXPECT_FALSE(Value(1).identical(Value(1.0)));
  EXPECT_FALSE(Value(1).identical(i64(1)));
  EXPECT_STREQ(value_kind_name(ValueKind::SmallInt), "SmallInt");
}

}  // namespace
}  // namespace zr
