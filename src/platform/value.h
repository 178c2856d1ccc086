#pragma once
// The engine's tagged value: what expressions compute with, what fields and variables hold.
// One rule set for arithmetic and comparison:
//   - numbers of any width mix; the result widens as needed: integer results are Integer
//     while they fit in 32 bits, else Int64 (always Int64 when an operand is Int64), and a
//     Double when even 64 bits overflow; any Double operand gives a Double; "/" is always
//     real division;
//   - "+" on two strings concatenates (raising ZorelError "Text too long" past
//     kMaxTextLength bytes, text_limit.h); two strings compare as text (byte-wise, unsigned);
//   - a string meeting a number is converted to a number (with the default settings) and
//     raises ConversionError "Could not convert variant of type (String) into type (Double)"
//     when it is not numeric; beside a date-time it is read as a date-time;
//   - empty acts as 0 (or "" beside a string); null propagates through arithmetic, equals
//     only null and sorts below everything else;
//   - a boolean acts as -1 (true) or 0 (false) in arithmetic; OR and AND on two booleans are
//     logical, on anything else bitwise on integers (doubles rounded halves to even);
//   - a date-time is a double counting days since 30 December 1899; date +/- number is a
//     date, date - date and date * number are numbers.
// Division and MOD by zero raise ZorelError "Division by zero" (the expression parser tests
// for 0 itself where its rules give 0 instead).

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/format_settings.h"

namespace zr {

enum class ValueKind : uint8_t {
  Empty,
  Null,
  Boolean,
  Byte,      // unsigned 8-bit (comparison results 0/1)
  SmallInt,  // signed 16-bit
  Integer,   // signed 32-bit
  Int64,     // signed 64-bit (large integer fields of data packets)
  Double,
  DateTime,  // days since 30 December 1899, time as the fraction
  String,    // 8-bit text in the ANSI code page
};

const char* value_kind_name(ValueKind kind);  // "Empty", "Null", "Boolean", "Byte", ...

class Value {
 public:
  Value() = default;  // empty
  Value(bool b) : kind_(ValueKind::Boolean), int_(b ? 1 : 0) {}
  Value(int32_t i) : kind_(ValueKind::Integer), int_(i) {}
  Value(int64_t i) : kind_(ValueKind::Int64), int_(i) {}
  Value(double d) : kind_(ValueKind::Double), real_(d) {}
  Value(std::string s) : kind_(ValueKind::String), text_(std::move(s)) {}
  Value(std::string_view s) : kind_(ValueKind::String), text_(s) {}
  Value(const char* s) : kind_(ValueKind::String), text_(s) {}

  static Value null();
  static Value byte(uint8_t b);
  static Value small_int(int16_t i);
  static Value date_time(double days);

  ValueKind kind() const { return kind_; }
  bool is_empty() const { return kind_ == ValueKind::Empty; }
  bool is_null() const { return kind_ == ValueKind::Null; }
  bool is_string() const { return kind_ == ValueKind::String; }
  bool is_integer() const;  // Byte, SmallInt, Integer, Int64
  bool is_number() const;   // integers, Double, DateTime, Boolean

  // Conversions; each raises ConversionError when the value cannot be read as asked.
  // A string is parsed with `fs` (decimal separator; "$" hexadecimal for integers).
  double to_double(const FormatSettings& fs = FormatSettings::defaults()) const;
  // Doubles round to the nearest integer, halves to even; out of range raises.
  int32_t to_int(const FormatSettings& fs = FormatSettings::defaults()) const;
  int64_t to_int64(const FormatSettings& fs = FormatSettings::defaults()) const;
  // Numbers: non-zero is true; strings "True"/"False" in any case, or a number.
  bool to_bool(const FormatSettings& fs = FormatSettings::defaults()) const;
  // Empty and null give ""; booleans "True"/"False"; doubles as FloatToStr does (15
  // significant digits, shortest form); date-times as short date plus the long time when the
  // time is not midnight.
  std::string to_string(const FormatSettings& fs = FormatSettings::defaults()) const;
  // Days since 30 December 1899; strings are read as date and/or time in `fs` formats.
  double to_date_time(const FormatSettings& fs = FormatSettings::defaults()) const;

  // Raw access for code that has checked kind() first.
  int64_t raw_int() const { return int_; }
  double raw_double() const { return real_; }
  const std::string& raw_string() const { return text_; }

  // Three-way comparison by the rules above: <0, 0, >0.
  int compare(const Value& other) const;
  // Exact identity of kind and content (for tests and caches), not the arithmetic rules.
  bool identical(const Value& other) const;

  friend Value operator+(const Value& a, const Value& b);
  friend Value operator-(const Value& a, const Value& b);
  friend Value operator*(const Value& a, const Value& b);
  friend Value operator/(const Value& a, const Value& b);  // real division; b == 0 raises
  friend Value operator-(const Value& a);
  friend Value value_mod(const Value& a, const Value& b);  // integer remainder
  friend Value value_or(const Value& a, const Value& b);   // bitwise / logical
  friend Value value_and(const Value& a, const Value& b);  // bitwise / logical

  friend bool operator==(const Value& a, const Value& b) { return a.compare(b) == 0; }
  friend bool operator<(const Value& a, const Value& b) { return a.compare(b) < 0; }

 private:
  ValueKind kind_ = ValueKind::Empty;
  int64_t int_ = 0;
  double real_ = 0;
  std::string text_;
};

// Also declared here so that calls are found without a Value argument (value_mod(7, 3)).
Value value_mod(const Value& a, const Value& b);
Value value_or(const Value& a, const Value& b);
Value value_and(const Value& a, const Value& b);

// For gtest and debugging: kind and content, e.g. Integer(42), String("ab").
std::string describe(const Value& v);
// gtest's printer hook, so failing expectations show describe(v).
void PrintTo(const Value& v, std::ostream* os);

}  // namespace zr
