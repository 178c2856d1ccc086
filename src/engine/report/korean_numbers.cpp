#include "engine/report/korean_numbers.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/number_format.h"

namespace zr {

namespace {

// One spelling: digits 1..9, then the units of positions 2..16 (position 1 has none).
struct Spelling {
  std::array<std::string, 9> digits;
  std::array<std::string, 16> units;
};

std::string ansi(std::string_view utf8) {
  return utf8_to_ansi(utf8);
}

Spelling make_spelling(std::string_view digits, std::string_view ten, std::string_view hundred,
                       std::string_view thousand, std::string_view man, std::string_view eok,
                       std::string_view jo) {
  Spelling s;
  // Every character of `digits` is three UTF-8 bytes.
  for (size_t i = 0; i < s.digits.size(); ++i) s.digits[i] = ansi(digits.substr(i * 3, 3));
  const std::string t = ansi(ten), h = ansi(hundred), k = ansi(thousand);
  s.units = {"", t, h, k, ansi(man), t, h, k, ansi(eok), t, h, k, ansi(jo), t, h, k};
  return s;
}

// "Higher unit + unit of an empty group" and what it becomes. Both spellings apply all four,
// in this order (億萬 must go before 兆億 can match).
using Merges = std::array<std::pair<std::string, std::string>, 4>;
const Merges& merges() {
  static const Merges m = {{{ansi("億萬"), ansi("億")},
                            {ansi("兆億"), ansi("兆")},
                            {ansi("억만"), ansi("억")},
                            {ansi("조억"), ansi("조")}}};
  return m;
}

const Spelling& hanja() {
  static const Spelling s = make_spelling("壹貳參四五六七八九", "拾", "百", "阡", "萬", "億", "兆");
  return s;
}

const Spelling& hangul() {
  static const Spelling s = make_spelling("일이삼사오육칠팔구", "십", "백", "천", "만", "억", "조");
  return s;
}

// Replaces every `from` that starts on a character boundary; the text holds only two-byte
// characters, so a match across two characters must not count.
std::string replace_all(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
    } else {
      size_t n = char_length(text, i);
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

std::string spell(double number, const Spelling& s) {
  std::string digits = format_float("###0", number);
  digits.erase(0, digits.find_first_not_of(' '));
  for (char c : digits)
    if (c < '0' || c > '9') throw ConversionError("'" + digits + "' is not a valid integer value");
  if (digits.size() > s.units.size())
    throw ConversionError("'" + digits + "' is too large to spell");

  std::string result;
  for (size_t pos = 1; pos <= digits.size(); ++pos) {
    const char d = digits[digits.size() - pos];
    const std::string& unit = s.units[pos - 1];
    if (d == '0') {
      if (pos == 5 || pos == 9 || pos == 13) result = unit + result;
    } else {
      result = s.digits[static_cast<size_t>(d - '1')] + unit + result;
    }
  }
  for (const auto& [from, to] : merges()) result = replace_all(result, from, to);
  return result;
}

}  // namespace

std::string NumberToHanja(double number) {
  return spell(number, hanja());
}

std::string NumberToHangul(double number) {
  return spell(number, hangul());
}

}  // namespace zr
