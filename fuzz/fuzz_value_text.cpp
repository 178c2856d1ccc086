// Numbers, dates and times read from arbitrary text, date patterns taken from arbitrary text,
// and Value arithmetic on what was read. Nothing may crash; a value written back as text
// must read back to the same text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_text.h"
#include "platform/value.h"

namespace {

const zr::FixedClock kClock(46000.5);

void check(bool ok) {
  if (!ok) std::abort();
}

void numbers(std::string_view text) {
  if (auto i = zr::try_str_to_int64(text)) check(zr::str_to_int64(std::to_string(*i)) == *i);
  if (auto i = zr::try_str_to_int(text)) check(zr::str_to_int(std::to_string(*i)) == *i);
  if (auto d = zr::try_str_to_float(text)) {
    const std::string once = zr::float_to_str(*d);
    if (auto again = zr::try_str_to_float(once)) check(zr::float_to_str(*again) == once);
  }
}

void dates(std::string_view text) {
  const auto& fs = zr::FormatSettings::defaults();
  if (auto v = zr::try_str_to_date_time(text, fs, kClock)) {
    const std::string once = zr::date_time_to_str(*v);
    auto again = zr::try_str_to_date_time(once, fs, kClock);
    check(again.has_value() && zr::date_time_to_str(*again) == once);
  }
}

void pattern(std::string_view text, double value) {
  try {
    zr::format_date_time(text, value);
  } catch (const zr::ConversionError&) {
  }
}

void arithmetic(std::string_view text, double number) {
  const zr::Value values[] = {zr::Value(text),
                              zr::Value(number),
                              zr::Value::date_time(number),
                              zr::Value(static_cast<int64_t>(text.size()) - 3),
                              zr::Value(true),
                              zr::Value(),
                              zr::Value::null()};
  for (const auto& a : values) {
    for (const auto& b : values) {
      try {
        (void)(a + b), (void)(a - b), (void)(a * b), (void)a.compare(b), (void)(-a);
        (void)(a / b);
      } catch (const zr::ZorelError&) {
      }
      try {
        (void)zr::value_mod(a, b), (void)zr::value_or(a, b), (void)a.to_int(), (void)a.to_string();
      } catch (const zr::ZorelError&) {
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 9) return 0;
  double number = 0;
  std::memcpy(&number, data + 1, sizeof number);
  const std::string_view text(reinterpret_cast<const char*>(data + 9), size - 9);
  switch (data[0] % 4) {
    case 0:
      numbers(text);
      break;
    case 1:
      dates(text);
      break;
    case 2:
      pattern(text, number);
      break;
    case 3:
      arithmetic(text, number);
      break;
  }
  return 0;
}
