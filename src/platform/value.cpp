#include "platform/value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>
#include <utility>

#include "platform/codepage.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_text.h"
#include "platform/rounding.h"
#include "platform/text_limit.h"

namespace zr {
namespace {

// Type names as the classic variant conversion messages spell them.
const char* variant_type_text(ValueKind kind) {
  switch (kind) {
    case ValueKind::SmallInt:
      return "Smallint";
    case ValueKind::DateTime:
      return "Date";
    default:
      return value_kind_name(kind);
  }
}

[[noreturn]] void cannot_convert(ValueKind from, const char* to) {
  throw ConversionError(std::string("Could not convert variant of type (") +
                        variant_type_text(from) + ") into type (" + to + ")");
}

[[noreturn]] void division_by_zero() {
  throw ZorelError("Division by zero");
}

bool fits_int32(int64_t i) {
  return i >= std::numeric_limits<int32_t>::min() && i <= std::numeric_limits<int32_t>::max();
}

// An integer result: Integer while it fits in 32 bits unless an operand was already Int64.
Value make_int(int64_t i, bool wide) {
  if (!wide && fits_int32(i)) return Value(static_cast<int32_t>(i));
  return Value(i);
}

// An operand as arithmetic sees it.
struct Number {
  enum Class { Int, Real, Date } cls = Int;
  int64_t i = 0;      // when Int
  double d = 0;       // always
  bool wide = false;  // came from an Int64
};

Number number_of(const Value& v) {
  Number n;
  switch (v.kind()) {
    case ValueKind::Empty:
      break;
    case ValueKind::Boolean:
      n.i = v.raw_int() ? -1 : 0;
      break;
    case ValueKind::Byte:
    case ValueKind::SmallInt:
    case ValueKind::Integer:
      n.i = v.raw_int();
      break;
    case ValueKind::Int64:
      n.i = v.raw_int();
      n.wide = true;
      break;
    case ValueKind::Double:
      n.cls = Number::Real;
      n.d = v.raw_double();
      return n;
    case ValueKind::DateTime:
      n.cls = Number::Date;
      n.d = v.raw_double();
      return n;
    case ValueKind::String:
      n.cls = Number::Real;
      n.d = v.to_double();
      return n;
    case ValueKind::Null:
      cannot_convert(ValueKind::Null, "Double");
  }
  n.d = static_cast<double>(n.i);
  return n;
}

// Both operands of a binary operation. A string beside a date-time is read as a date-time
// (date, time or number text); beside anything else as a number.
std::pair<Number, Number> numbers_of(const Value& a, const Value& b) {
  auto read = [](const Value& v, const Value& other) {
    if (v.is_string() && other.kind() == ValueKind::DateTime) {
      Number n;
      n.cls = Number::Date;
      n.d = v.to_date_time();
      return n;
    }
    return number_of(v);
  };
  return {read(a, b), read(b, a)};
}

// A double as an integer for mod and the bitwise operators: halves to even, range checked.
int64_t integral(const Number& n, ValueKind kind) {
  if (n.cls == Number::Int) return n.i;
  const double r = round_half_even_double(n.d);
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) cannot_convert(kind, "Int64");
  return static_cast<int64_t>(r);
}

bool text_like(const Value& v) {
  return v.is_string() || v.is_empty();
}

enum class Op { Add, Subtract, Multiply };

double apply(Op op, double a, double b) {
  switch (op) {
    case Op::Add:
      return a + b;
    case Op::Subtract:
      return a - b;
    case Op::Multiply:
      return a * b;
  }
  return 0;
}

bool apply_overflows(Op op, int64_t a, int64_t b, int64_t& result) {
  switch (op) {
    case Op::Add:
      return __builtin_add_overflow(a, b, &result);
    case Op::Subtract:
      return __builtin_sub_overflow(a, b, &result);
    case Op::Multiply:
      return __builtin_mul_overflow(a, b, &result);
  }
  return true;
}

Value arithmetic(Op op, const Value& a, const Value& b) {
  if (a.is_null() || b.is_null()) return Value::null();
  if (op == Op::Add && text_like(a) && text_like(b) && (a.is_string() || b.is_string())) {
    check_text_length(a.raw_string().size() + b.raw_string().size());
    return Value(a.raw_string() + b.raw_string());
  }
  const auto [x, y] = numbers_of(a, b);
  if (x.cls == Number::Int && y.cls == Number::Int) {
    int64_t r = 0;
    if (!apply_overflows(op, x.i, y.i, r)) return make_int(r, x.wide || y.wide);
    return Value(apply(op, x.d, y.d));
  }
  const double r = apply(op, x.d, y.d);
  const bool x_date = x.cls == Number::Date;
  const bool y_date = y.cls == Number::Date;
  if (op == Op::Multiply || (op == Op::Subtract && x_date && y_date)) return Value(r);
  if (x_date || y_date) return Value::date_time(r);
  return Value(r);
}

Value bitwise(const Value& a, const Value& b, bool is_or) {
  if (a.is_null() || b.is_null()) return Value::null();
  if (a.kind() == ValueKind::Boolean && b.kind() == ValueKind::Boolean) {
    const bool x = a.raw_int() != 0, y = b.raw_int() != 0;
    return Value(is_or ? (x || y) : (x && y));
  }
  const Number x = number_of(a), y = number_of(b);
  const int64_t i = integral(x, a.kind()), j = integral(y, b.kind());
  return make_int(is_or ? (i | j) : (i & j), x.wide || y.wide);
}

int three_way(double a, double b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

int three_way(int64_t a, int64_t b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

// Doubles converted to integers must round into range.
int64_t checked_round(double d, ValueKind from, const char* to, int64_t min, int64_t max) {
  const double r = round_half_even_double(d);
  if (!(r >= static_cast<double>(min) && r <= static_cast<double>(max)) ||
      r >= 9223372036854775808.0) {
    cannot_convert(from, to);
  }
  return static_cast<int64_t>(r);
}

int64_t to_integer(const Value& v, const FormatSettings& fs, const char* to, int64_t min,
                   int64_t max) {
  int64_t i = 0;
  switch (v.kind()) {
    case ValueKind::Empty:
      return 0;
    case ValueKind::Null:
      cannot_convert(ValueKind::Null, to);
    case ValueKind::Boolean:
      return v.raw_int() ? -1 : 0;
    case ValueKind::Double:
    case ValueKind::DateTime:
      return checked_round(v.raw_double(), v.kind(), to, min, max);
    case ValueKind::String: {
      if (auto parsed = try_str_to_int64(v.raw_string())) {
        i = *parsed;
        break;
      }
      auto real = try_str_to_float(v.raw_string(), fs);
      if (!real) cannot_convert(ValueKind::String, to);
      return checked_round(*real, ValueKind::String, to, min, max);
    }
    default:
      i = v.raw_int();
  }
  if (i < min || i > max) cannot_convert(v.kind(), to);
  return i;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 32 || c == 127) {
      static const char* kHex = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string shortest(double d) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, d);
  return std::string(buffer, result.ptr);
}

}  // namespace

const char* value_kind_name(ValueKind kind) {
  switch (kind) {
    case ValueKind::Empty:
      return "Empty";
    case ValueKind::Null:
      return "Null";
    case ValueKind::Boolean:
      return "Boolean";
    case ValueKind::Byte:
      return "Byte";
    case ValueKind::SmallInt:
      return "SmallInt";
    case ValueKind::Integer:
      return "Integer";
    case ValueKind::Int64:
      return "Int64";
    case ValueKind::Double:
      return "Double";
    case ValueKind::DateTime:
      return "DateTime";
    case ValueKind::String:
      return "String";
  }
  return "?";
}

Value Value::null() {
  Value v;
  v.kind_ = ValueKind::Null;
  return v;
}

Value Value::byte(uint8_t b) {
  Value v;
  v.kind_ = ValueKind::Byte;
  v.int_ = b;
  return v;
}

Value Value::small_int(int16_t i) {
  Value v;
  v.kind_ = ValueKind::SmallInt;
  v.int_ = i;
  return v;
}

Value Value::date_time(double days) {
  Value v;
  v.kind_ = ValueKind::DateTime;
  v.real_ = days;
  return v;
}

bool Value::is_integer() const {
  return kind_ == ValueKind::Byte || kind_ == ValueKind::SmallInt || kind_ == ValueKind::Integer ||
         kind_ == ValueKind::Int64;
}

bool Value::is_number() const {
  return is_integer() || kind_ == ValueKind::Double || kind_ == ValueKind::DateTime ||
         kind_ == ValueKind::Boolean;
}

double Value::to_double(const FormatSettings& fs) const {
  switch (kind_) {
    case ValueKind::Empty:
      return 0;
    case ValueKind::Null:
      cannot_convert(kind_, "Double");
    case ValueKind::Boolean:
      return int_ ? -1 : 0;
    case ValueKind::Double:
    case ValueKind::DateTime:
      return real_;
    case ValueKind::String: {
      auto parsed = try_str_to_float(text_, fs);
      if (!parsed) cannot_convert(kind_, "Double");
      return *parsed;
    }
    default:
      return static_cast<double>(int_);
  }
}

int32_t Value::to_int(const FormatSettings& fs) const {
  return static_cast<int32_t>(to_integer(*this, fs, "Integer", std::numeric_limits<int32_t>::min(),
                                         std::numeric_limits<int32_t>::max()));
}

int64_t Value::to_int64(const FormatSettings& fs) const {
  return to_integer(*this, fs, "Int64", std::numeric_limits<int64_t>::min(),
                    std::numeric_limits<int64_t>::max());
}

bool Value::to_bool(const FormatSettings& fs) const {
  switch (kind_) {
    case ValueKind::Empty:
      return false;
    case ValueKind::Null:
      cannot_convert(kind_, "Boolean");
    case ValueKind::Double:
    case ValueKind::DateTime:
      return real_ != 0;
    case ValueKind::String: {
      if (same_text_ascii(text_, "true")) return true;
      if (same_text_ascii(text_, "false")) return false;
      auto parsed = try_str_to_float(text_, fs);
      if (!parsed) cannot_convert(kind_, "Boolean");
      return *parsed != 0;
    }
    default:
      return int_ != 0;
  }
}

std::string Value::to_string(const FormatSettings& fs) const {
  switch (kind_) {
    case ValueKind::Empty:
    case ValueKind::Null:
      return {};
    case ValueKind::Boolean:
      return int_ ? "True" : "False";
    case ValueKind::Double:
      return float_to_str(real_, fs);
    case ValueKind::DateTime:
      return date_time_to_str(real_, fs);
    case ValueKind::String:
      return text_;
    default:
      return std::to_string(int_);
  }
}

double Value::to_date_time(const FormatSettings& fs) const {
  switch (kind_) {
    case ValueKind::Null:
      cannot_convert(kind_, "Date");
    case ValueKind::String: {
      if (auto parsed = try_str_to_date_time(text_, fs)) return *parsed;
      if (auto number = try_str_to_float(text_, fs)) return *number;
      cannot_convert(kind_, "Date");
    }
    default:
      return to_double(fs);
  }
}

int Value::compare(const Value& other) const {
  if (is_null() || other.is_null())
    return three_way(int64_t{!is_null()}, int64_t{!other.is_null()});
  if (text_like(*this) && text_like(other)) {
    const int c = text_.compare(other.text_);  // char_traits<char> compares as unsigned bytes
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  const auto [x, y] = numbers_of(*this, other);
  if (x.cls == Number::Int && y.cls == Number::Int) return three_way(x.i, y.i);
  return three_way(x.d, y.d);
}

bool Value::identical(const Value& other) const {
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case ValueKind::Double:
    case ValueKind::DateTime:
      return real_ == other.real_ || (std::isnan(real_) && std::isnan(other.real_));
    case ValueKind::String:
      return text_ == other.text_;
    default:
      return int_ == other.int_;
  }
}

Value operator+(const Value& a, const Value& b) {
  return arithmetic(Op::Add, a, b);
}
Value operator-(const Value& a, const Value& b) {
  return arithmetic(Op::Subtract, a, b);
}
Value operator*(const Value& a, const Value& b) {
  return arithmetic(Op::Multiply, a, b);
}

Value operator/(const Value& a, const Value& b) {
  if (a.is_null() || b.is_null()) return Value::null();
  const auto [x, y] = numbers_of(a, b);
  if (y.d == 0) division_by_zero();
  return Value(x.d / y.d);
}

Value operator-(const Value& a) {
  switch (a.kind()) {
    case ValueKind::Null:
      return a;
    case ValueKind::Double:
      return Value(-a.raw_double());
    case ValueKind::DateTime:
      return Value::date_time(-a.raw_double());
    default:
      return Value(int32_t{0}) - a;
  }
}

Value value_mod(const Value& a, const Value& b) {
  if (a.is_null() || b.is_null()) return Value::null();
  const Number x = number_of(a), y = number_of(b);
  const int64_t i = integral(x, a.kind()), j = integral(y, b.kind());
  if (j == 0) division_by_zero();
  return make_int(j == -1 ? 0 : i % j, x.wide || y.wide);
}

Value value_or(const Value& a, const Value& b) {
  return bitwise(a, b, true);
}
Value value_and(const Value& a, const Value& b) {
  return bitwise(a, b, false);
}

std::string describe(const Value& v) {
  std::string name = value_kind_name(v.kind());
  switch (v.kind()) {
    case ValueKind::Empty:
    case ValueKind::Null:
      return name;
    case ValueKind::Boolean:
      return name + (v.raw_int() ? "(True)" : "(False)");
    case ValueKind::Double:
      return name + "(" + shortest(v.raw_double()) + ")";
    case ValueKind::DateTime: {
      std::string text = shortest(v.raw_double());
      try {
        text += " = " + ansi_to_utf8(date_time_to_str(v.raw_double()));
      } catch (const ConversionError&) {
      }
      return name + "(" + text + ")";
    }
    case ValueKind::String:
      return name + "(\"" + escaped(v.raw_string()) + "\")";
    default:
      return name + "(" + std::to_string(v.raw_int()) + ")";
  }
}

void PrintTo(const Value& v, std::ostream* os) {
  *os << describe(v);
}

}  // namespace zr
