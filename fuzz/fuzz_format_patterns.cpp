// Arbitrary patterns through every formatter: the input up to the first NUL or newline is
// the pattern, the rest the value text. Every pattern must terminate with a bounded result;
// only the documented errors may escape.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/format_text.h"
#include "platform/mask_format.h"
#include "platform/number_format.h"
#include "platform/number_text.h"
#include "platform/rounding.h"
#include "platform/value.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void numbers(std::string_view pattern, double value) {
  for (double v : {value, -value, 0.0, 0.125, -1e18, 5e-324}) {
    const std::string out = zr::format_float(pattern, v);
    // A placeholder writes at most a digit and a separator; the first adds the rest.
    check(out.size() <= 2 * pattern.size() + 64);
  }
  const int precision = static_cast<int>(pattern.size() % 24) - 2;
  const int digits = static_cast<int>(pattern.size() % 7) - 1;
  for (auto format : {zr::FloatFormat::General, zr::FloatFormat::Exponent, zr::FloatFormat::Fixed,
                      zr::FloatFormat::Number, zr::FloatFormat::Currency}) {
    check(!zr::float_to_str_f(value, format, precision, digits).empty());
  }
}

void mask(std::string_view pattern, std::string_view text) {
  const std::string out = zr::format_mask_text(pattern, text);
  check(out.size() <= 2 * pattern.size() + text.size());
  zr::format_mask_text(std::string(pattern) + ";0; ", text);
}

void format(std::string_view pattern, std::string_view text, double value) {
  const std::vector<zr::Value> args = {zr::Value(text),
                                       zr::Value(zr::round_half_even_to_int(value)),
                                       zr::Value(value), zr::Value(int64_t{-1}), zr::Value(true)};
  try {
    zr::format_string(pattern, args);
  } catch (const zr::ZorelError& e) {
    check(e.kind() == zr::ErrorKind::General);
  }
}

void date(std::string_view pattern, double value) {
  for (double v : {value, 45356.6403125, -1.25}) {
    try {
      zr::format_date_time(pattern, v);
    } catch (const zr::ConversionError&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find_first_of(std::string_view("\0\n", 2));
  const std::string_view pattern = input.substr(0, split);
  const std::string_view text =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const double value = zr::try_str_to_float(text).value_or(static_cast<double>(text.size()) - 7.5);
  numbers(pattern, value);
  mask(pattern, text);
  format(pattern, text, value);
  date(pattern, value);
  return 0;
}
