#include "platform/format_text.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/number_format.h"
#include "platform/number_text.h"

namespace zr {
namespace {

// Keeps absurd widths from allocating without bound.
constexpr int64_t kMaxWidth = 65535;

struct Spec {
  bool left = false;
  int width = 0;
  std::optional<int> precision;
  char type = 0;  // lower case
};

class Formatter {
 public:
  Formatter(std::string_view format, const std::vector<Value>& args, const FormatSettings& fs)
      : format_(format), args_(args), fs_(fs) {}

  std::string run() {
    while (pos_ < format_.size()) {
      if (format_[pos_] != '%') {
        const size_t length = char_length(format_, pos_);
        out_.append(format_.substr(pos_, length));
        pos_ += length;
        continue;
      }
      ++pos_;
      if (at('%')) {
        out_ += '%';
        ++pos_;
        continue;
      }
      const Spec spec = read_spec();
      pad(spec, convert(spec));
    }
    return std::move(out_);
  }

 private:
  [[noreturn]] void fail() const {
    throw ZorelError("Format '" + std::string(format_) + "' invalid or incompatible with argument");
  }

  bool at(char c) const { return pos_ < format_.size() && format_[pos_] == c; }

  const Value& next_arg() {
    if (next_arg_ >= args_.size()) fail();
    return args_[next_arg_++];
  }

  // Digits or "*" (the next argument as an integer); nothing there gives no value.
  std::optional<int64_t> number() {
    if (at('*')) {
      ++pos_;
      const int64_t n = integer(next_arg());
      if (n > kMaxWidth || n < -kMaxWidth) fail();
      return n;
    }
    if (pos_ >= format_.size() || format_[pos_] < '0' || format_[pos_] > '9') return {};
    int64_t n = 0;
    while (pos_ < format_.size() && format_[pos_] >= '0' && format_[pos_] <= '9') {
      n = n * 10 + (format_[pos_++] - '0');
      if (n > kMaxWidth) fail();
    }
    return n;
  }

  Spec read_spec() {
    Spec spec;
    std::optional<int64_t> n = number();
    if (n && at(':')) {
      ++pos_;
      if (*n < 0) fail();
      next_arg_ = static_cast<size_t>(*n);
      n.reset();
    }
    if (!n) {
      if (at('-')) {
        spec.left = true;
        ++pos_;
      }
      n = number();
    }
    int64_t width = n.value_or(0);
    if (width < 0) {  // a negative "*" width
      spec.left = true;
      width = -width;
    }
    spec.width = static_cast<int>(width);
    if (at('.')) {
      ++pos_;
      const int64_t precision = number().value_or(0);
      if (precision < 0) fail();
      spec.precision = static_cast<int>(precision);
    }
    if (pos_ >= format_.size()) fail();
    const char type = format_[pos_++];
    spec.type = (type >= 'A' && type <= 'Z') ? static_cast<char>(type + 32) : type;
    return spec;
  }

  int64_t integer(const Value& v) const {
    switch (v.kind()) {
      case ValueKind::Empty:
      case ValueKind::Boolean:
      case ValueKind::Byte:
      case ValueKind::SmallInt:
      case ValueKind::Integer:
      case ValueKind::Int64:
        return v.to_int64();
      case ValueKind::String:
        if (auto parsed = try_str_to_int64(v.raw_string())) return *parsed;
        break;
      default:
        break;
    }
    fail();
  }

  double real(const Value& v) const {
    if (v.is_empty() || v.is_number()) return v.to_double();
    if (v.is_string()) {
      if (auto parsed = try_str_to_float(v.raw_string(), fs_)) return *parsed;
    }
    fail();
  }

  // The integer as an unsigned number: negative 32-bit integers wrap at 32 bits, anything
  // wider at 64.
  uint64_t unsigned_of(const Value& v) const {
    const int64_t i = integer(v);
    if (v.kind() != ValueKind::Int64 && i >= INT32_MIN && i < 0) return static_cast<uint32_t>(i);
    return static_cast<uint64_t>(i);
  }

  static std::string digits(uint64_t n, int base) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, n, base);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
      if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 32);
    }
    return text;
  }

  static std::string zero_padded(std::string text, const std::optional<int>& precision) {
    if (precision && static_cast<int>(text.size()) < *precision) {
      text.insert(0, static_cast<size_t>(*precision) - text.size(), '0');
    }
    return text;
  }

  std::string convert(const Spec& spec) {
    switch (spec.type) {
      case 'd': {
        const int64_t i = integer(next_arg());
        const uint64_t magnitude = i < 0 ? 0 - static_cast<uint64_t>(i) : static_cast<uint64_t>(i);
        return (i < 0 ? "-" : "") + zero_padded(digits(magnitude, 10), spec.precision);
      }
      case 'u':
        return zero_padded(digits(unsigned_of(next_arg()), 10), spec.precision);
      case 'x':
        return zero_padded(digits(unsigned_of(next_arg()), 16), spec.precision);
      case 'p':
        return zero_padded(digits(static_cast<uint32_t>(integer(next_arg())), 16), 8);
      case 'e':
        return float_to_str_f(real(next_arg()), FloatFormat::Exponent, spec.precision.value_or(15),
                              3, fs_);
      case 'f':
        return float_to_str_f(real(next_arg()), FloatFormat::Fixed, 18, spec.precision.value_or(2),
                              fs_);
      case 'g':
        return float_to_str_f(real(next_arg()), FloatFormat::General, spec.precision.value_or(15),
                              3, fs_);
      case 'n':
        return float_to_str_f(real(next_arg()), FloatFormat::Number, 18, spec.precision.value_or(2),
                              fs_);
      case 'm':
        return float_to_str_f(real(next_arg()), FloatFormat::Currency, 18,
                              spec.precision.value_or(fs_.currency_decimals), fs_);
      case 's':
        return truncated(next_arg().to_string(fs_), spec.precision);
      default:
        fail();
    }
  }

  // At most `precision` bytes, cut before a double-byte character that would not fit.
  static std::string truncated(std::string text, const std::optional<int>& precision) {
    if (!precision || static_cast<int>(text.size()) <= *precision) return text;
    size_t end = 0;
    while (end < text.size()) {
      const size_t next = end + char_length(text, end);
      if (next > static_cast<size_t>(*precision)) break;
      end = next;
    }
    text.resize(end);
    return text;
  }

  void pad(const Spec& spec, const std::string& text) {
    const size_t fill = static_cast<int>(text.size()) < spec.width
                            ? static_cast<size_t>(spec.width) - text.size()
                            : 0;
    if (!spec.left) out_.append(fill, ' ');
    out_ += text;
    if (spec.left) out_.append(fill, ' ');
  }

  std::string_view format_;
  const std::vector<Value>& args_;
  const FormatSettings& fs_;
  size_t pos_ = 0;
  size_t next_arg_ = 0;
  std::string out_;
};

}  // namespace

std::string format_string(std::string_view format, const std::vector<Value>& args,
                          const FormatSettings& fs) {
  return Formatter(format, args, fs).run();
}

}  // namespace zr
