#include "platform/number_format.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/codepage.h"
#include "platform/decimal_digits.h"
#include "platform/number_text.h"

namespace zr {
namespace {

// ---- picture patterns --------------------------------------------------------------------

struct Token {
  enum Kind { Digit, Point, Comma, Exponent, Literal } kind;
  std::string_view text;  // the placeholder, the exponent letter or the literal text
  char sign = 0;          // exponent: '+' or '-'
  int zeros = 0;          // exponent: minimum digits
};

// Reads the token at `pos` of a section and moves past it.
Token next_token(std::string_view s, size_t& pos) {
  const size_t start = pos;
  const char c = s[pos];
  const size_t length = char_length(s, pos);
  pos += length;
  if (length == 2) return {Token::Literal, s.substr(start, 2)};
  switch (c) {
    case '0':
    case '#':
      return {Token::Digit, s.substr(start, 1)};
    case '.':
      return {Token::Point, {}};
    case ',':
      return {Token::Comma, {}};
    case '"':
    case '\'': {
      size_t close = s.find(c, pos);
      if (close == std::string_view::npos) close = s.size();
      Token t{Token::Literal, s.substr(pos, close - pos)};
      pos = std::min(close + 1, s.size());
      return t;
    }
    case 'E':
    case 'e':
      if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        Token t{Token::Exponent, s.substr(start, 1), s[pos]};
        ++pos;
        while (pos < s.size() && s[pos] == '0') ++pos, ++t.zeros;
        return t;
      }
      break;
  }
  return {Token::Literal, s.substr(start, 1)};
}

// Up to three sections split at ";" outside quotes; anything after a third ";" is ignored.
std::vector<std::string_view> split_sections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < pattern.size(); i += char_length(pattern, i)) {
    const char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
      if (sections.size() == 3) return sections;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

// What a section asks for, counted in digit placeholders.
struct Layout {
  int digit_count = 0;
  int int_places = -1;  // placeholders before the decimal point
  int first_zero = INT_MAX;
  int last_zero = 0;  // one past the last "0"
  bool group = false;
  bool scientific = false;

  int min_int() const { return std::max(0, int_places - first_zero); }
  int max_dec() const { return digit_count - int_places; }
  int min_dec() const { return std::max(0, last_zero - int_places); }
};

Layout scan(std::string_view section) {
  Layout l;
  for (size_t pos = 0; pos < section.size();) {
    const Token t = next_token(section, pos);
    switch (t.kind) {
      case Token::Digit:
        if (t.text[0] == '0') {
          l.first_zero = std::min(l.first_zero, l.digit_count);
          l.last_zero = l.digit_count + 1;
        }
        ++l.digit_count;
        break;
      case Token::Point:
        if (l.int_places < 0) l.int_places = l.digit_count;
        break;
      case Token::Comma:
        if (l.int_places < 0) l.group = true;
        break;
      case Token::Exponent:
        l.scientific = true;
        break;
      case Token::Literal:
        break;
    }
  }
  if (l.int_places < 0) l.int_places = l.digit_count;
  if (l.scientific) l.group = false;  // a mantissa is never grouped
  return l;
}

// The digits to write: place 1 of `number` is the units digit of what is shown.
struct Placed {
  DecimalDigits number;
  int int_len = 0;  // integer digits shown
  int dec_len = 0;  // decimals shown
  int exponent = 0;
};

int decimals_of(const DecimalDigits& d) {
  return std::max(0, static_cast<int>(d.digits.size()) - d.exponent);
}

Placed place(const Layout& l, double value) {
  Placed p;
  if (!l.scientific) {
    p.number = decimal_digits(value, kMaxSignificantDigits, l.max_dec());
    p.int_len = std::max(p.number.is_zero() ? 0 : p.number.exponent, l.min_int());
  } else {
    p.number = decimal_digits(value, std::max(1, l.digit_count), INT_MAX);
    if (p.number.is_zero()) {
      p.int_len = std::max(l.min_int(), l.int_places > 0 ? 1 : 0);
    } else {
      p.exponent = p.number.exponent - l.int_places;
      p.number.exponent = l.int_places;
      p.int_len = l.int_places;
    }
  }
  p.dec_len = std::max(decimals_of(p.number), l.min_dec());
  return p;
}

class PictureWriter {
 public:
  PictureWriter(const Layout& l, const Placed& p, const FormatSettings& fs)
      : l_(l), p_(p), fs_(fs) {}

  std::string write(std::string_view section, bool minus) {
    if (minus) out_ += '-';
    for (size_t pos = 0; pos < section.size();) {
      const Token t = next_token(section, pos);
      if (t.kind == Token::Digit) {
        placeholder();
      } else if (t.kind == Token::Exponent) {
        exponent(t);
      } else if (t.kind == Token::Literal) {
        out_.append(t.text);
      }
    }
    return std::move(out_);
  }

 private:
  void placeholder() {
    const int j = next_placeholder_++;
    if (j < l_.int_places) {
      const int place = l_.int_places - j;
      // The first placeholder takes the digits that have none of their own.
      for (int q = j == 0 ? p_.int_len : std::min(place, p_.int_len); q >= place; --q) digit(q);
      return;
    }
    if (l_.int_places == 0 && j == 0) {
      for (int q = p_.int_len; q >= 1; --q) digit(q);
    }
    const int k = j - l_.int_places;
    if (k >= p_.dec_len) return;
    if (k == 0) out_ += fs_.decimal_separator;
    out_ += p_.number.digit_at(-k);
  }

  void digit(int place) {
    out_ += p_.number.digit_at(place);
    if (l_.group && place > 1 && (place - 1) % 3 == 0) out_ += fs_.thousand_separator;
  }

  void exponent(const Token& t) {
    out_.append(t.text);
    const int e = p_.exponent;
    if (e < 0) {
      out_ += '-';
    } else if (t.sign == '+') {
      out_ += '+';
    }
    std::string digits = std::to_string(std::abs(e));
    if (static_cast<int>(digits.size()) < t.zeros) out_.append(t.zeros - digits.size(), '0');
    out_ += digits;
  }

  const Layout& l_;
  const Placed& p_;
  const FormatSettings& fs_;
  int next_placeholder_ = 0;
  std::string out_;
};

// ---- FloatToStrF notations ---------------------------------------------------------------

// Integer part (at least "0") and exactly `decimals` decimals.
std::string plain(const DecimalDigits& d, int decimals, bool group, const FormatSettings& fs) {
  std::string out;
  const int int_len = std::max(1, d.exponent);
  for (int q = int_len; q >= 1; --q) {
    out += d.digit_at(q);
    if (group && q > 1 && (q - 1) % 3 == 0) out += fs.thousand_separator;
  }
  if (decimals > 0) out += fs.decimal_separator;
  for (int k = 0; k < decimals; ++k) out += d.digit_at(-k);
  return out;
}

std::string exponent_digits(int e, int min_digits) {
  std::string digits = std::to_string(std::abs(e));
  if (static_cast<int>(digits.size()) < min_digits)
    digits.insert(0, min_digits - digits.size(), '0');
  return digits;
}

std::string general(double value, int precision, int exp_digits, const FormatSettings& fs) {
  const DecimalDigits d = decimal_digits(value, precision, INT_MAX);
  if (d.is_zero()) return "0";
  std::string out = d.negative ? "-" : "";
  if (d.exponent > precision || d.exponent < -3) {
    out += d.digits[0];
    if (d.digits.size() > 1) {
      out += fs.decimal_separator;
      out.append(d.digits, 1);
    }
    out += 'E';
    if (d.exponent - 1 < 0) out += '-';
    return out + exponent_digits(d.exponent - 1, exp_digits);
  }
  return out + plain(d, decimals_of(d), false, fs);
}

std::string exponent_form(double value, int precision, int exp_digits, const FormatSettings& fs) {
  const DecimalDigits d = decimal_digits(value, precision, INT_MAX);
  std::string mantissa = d.is_zero() ? "0" : d.digits;
  mantissa.resize(static_cast<size_t>(precision), '0');
  std::string out = d.negative ? "-" : "";
  out += mantissa[0];
  if (precision > 1) {
    out += fs.decimal_separator;
    out.append(mantissa, 1);
  }
  const int e = d.is_zero() ? 0 : d.exponent - 1;
  out += e < 0 ? "E-" : "E+";
  return out + exponent_digits(e, exp_digits);
}

// Places the currency string and the sign by the classic currency format codes.
std::string currency(const std::string& n, bool negative, const FormatSettings& fs) {
  const std::string& c = fs.currency_string;
  if (!negative) {
    switch (fs.currency_format) {
      case 1:
        return n + c;
      case 2:
        return c + " " + n;
      case 3:
        return n + " " + c;
      default:
        return c + n;
    }
  }
  switch (fs.negative_currency_format) {
    case 0:
      return "(" + c + n + ")";
    case 2:
      return c + "-" + n;
    case 3:
      return c + n + "-";
    case 4:
      return "(" + n + c + ")";
    case 5:
      return "-" + n + c;
    case 6:
      return n + "-" + c;
    case 7:
      return n + c + "-";
    case 8:
      return "-" + n + " " + c;
    case 9:
      return "-" + c + " " + n;
    case 10:
      return n + " " + c + "-";
    case 11:
      return c + " " + n + "-";
    case 12:
      return c + " -" + n;
    case 13:
      return n + "- " + c;
    case 14:
      return "(" + c + " " + n + ")";
    case 15:
      return "(" + n + " " + c + ")";
    default:
      return "-" + c + n;
  }
}

}  // namespace

std::string format_float(std::string_view pattern, double value, const FormatSettings& fs) {
  if (pattern.empty() || !std::isfinite(value)) return float_to_str(value, fs);
  const std::vector<std::string_view> sections = split_sections(pattern);
  auto usable = [&](size_t i) { return i < sections.size() && !sections[i].empty(); };
  size_t index = 0;
  bool minus = false;
  if (value < 0) {
    if (usable(1)) {
      index = 1;
    } else {
      minus = true;
    }
  } else if (value == 0 && usable(2)) {
    index = 2;
  }
  if (!usable(index)) return float_to_str(value, fs);
  Layout layout = scan(sections[index]);
  if (!layout.scientific && std::abs(value) >= 1e18) return float_to_str(value, fs);
  Placed placed = place(layout, value);
  if (placed.number.is_zero() && value != 0) {
    // Rounded away to nothing: written as a true zero.
    minus = false;
    if (usable(2) || usable(0)) {
      index = usable(2) ? 2 : 0;
      layout = scan(sections[index]);
    }
    placed = place(layout, 0.0);
  }
  return PictureWriter(layout, placed, fs).write(sections[index], minus);
}

std::string float_to_str_f(double value, FloatFormat format, int precision, int digits,
                           const FormatSettings& fs) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  precision = std::clamp(precision, 1, kMaxSignificantDigits);
  if (format == FloatFormat::General)
    return general(value, precision, std::clamp(digits, 0, 4), fs);
  if (format == FloatFormat::Exponent) {
    return exponent_form(value, precision, std::clamp(digits, 0, 4), fs);
  }
  digits = std::clamp(digits, 0, 18);
  const DecimalDigits d = decimal_digits(value, precision, digits);
  if (d.exponent > precision) return general(value, precision, 0, fs);
  const std::string number = plain(d, digits, format != FloatFormat::Fixed, fs);
  if (format == FloatFormat::Currency) return currency(number, d.negative, fs);
  return d.negative ? "-" + number : number;
}

}  // namespace zr
