#include "platform/table/packet_values.h"

#include <array>
#include <charconv>
#include <cmath>

#include "platform/date_time.h"

namespace zr {
namespace {

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Reads exactly `count` digits at text[pos].
std::optional<int> digits(std::string_view text, size_t pos, size_t count) {
  if (pos + count > text.size()) return std::nullopt;
  int value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (!is_digit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

double combine(double days, double time) {
  return days >= 0 ? days + time : days - time;
}

}  // namespace

std::optional<int64_t> parse_packet_integer(std::string_view text) {
  text = trim_blanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> parse_packet_float(std::string_view text) {
  text = trim_blanks(text);
  std::string buffer(text);
  if (buffer.find('.') == std::string::npos) {
    size_t comma = buffer.find(',');
    if (comma != std::string::npos && buffer.find(',', comma + 1) == std::string::npos)
      buffer[comma] = '.';
  }
  std::string_view number = buffer;
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  // from_chars would also read "inf" and "nan"; packets hold plain numbers only.
  if (number.empty() ||
      !(is_digit(number.front()) || number.front() == '-' || number.front() == '.'))
    return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<bool> parse_packet_boolean(std::string_view text) {
  text = trim_blanks(text);
  auto equals = [&](std::string_view word) {
    if (text.size() != word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      char c = text[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (c != word[i]) return false;
    }
    return true;
  };
  if (equals("TRUE") || text == "1") return true;
  if (equals("FALSE") || text == "0") return false;
  return std::nullopt;
}

std::optional<double> parse_packet_date(std::string_view text) {
  text = trim_blanks(text);
  if (text.size() != 8) return std::nullopt;
  auto year = digits(text, 0, 4), month = digits(text, 4, 2), day = digits(text, 6, 2);
  if (!year || !month || !day) return std::nullopt;
  return try_encode_date(*year, *month, *day);
}

std::optional<double> parse_packet_time(std::string_view text) {
  text = trim_blanks(text);
  auto hour = digits(text, 0, 2), minute = digits(text, 3, 2), second = digits(text, 6, 2);
  if (!hour || !minute || !second || text[2] != ':' || text[5] != ':') return std::nullopt;
  std::string_view rest = text.substr(8);
  if (!rest.empty() && rest.front() == '.') rest.remove_prefix(1);
  if (rest.size() > 3) return std::nullopt;
  int ms = 0;
  if (!rest.empty()) {
    auto value = digits(rest, 0, rest.size());
    if (!value) return std::nullopt;
    ms = *value;
  }
  return try_encode_time(*hour, *minute, *second, ms);
}

std::optional<double> parse_packet_date_time(std::string_view text) {
  text = trim_blanks(text);
  auto date = parse_packet_date(text.substr(0, 8));
  if (!date) return std::nullopt;
  if (text.size() == 8) return date;
  if (text[8] != 'T' && text[8] != ' ') return std::nullopt;
  auto time = parse_packet_time(text.substr(9));
  if (!time) return std::nullopt;
  return combine(*date, *time);
}

std::optional<std::string> decode_base64(std::string_view text) {
  static constexpr auto kTable = [] {
    std::array<int8_t, 256> table{};
    table.fill(-1);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i)
      table[static_cast<unsigned char>(alphabet[i])] = static_cast<int8_t>(i);
    return table;
  }();
  std::string out;
  out.reserve(text.size() / 4 * 3 + 3);
  uint32_t bits = 0;
  int count = 0;
  bool padding = false;
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c <= 32) continue;
    if (c == '=') {
      padding = true;
      continue;
    }
    int8_t v = kTable[c];
    if (v < 0 || padding) return std::nullopt;  // a foreign byte, or data after padding
    bits = (bits << 6) | static_cast<uint32_t>(v);
    if (++count == 4) {
      out.push_back(static_cast<char>(bits >> 16));
      out.push_back(static_cast<char>(bits >> 8));
      out.push_back(static_cast<char>(bits));
      bits = 0;
      count = 0;
    }
  }
  if (count == 1) return std::nullopt;
  if (count == 2) out.push_back(static_cast<char>(bits >> 4));
  if (count == 3) {
    out.push_back(static_cast<char>(bits >> 10));
    out.push_back(static_cast<char>(bits >> 2));
  }
  return out;
}

void strip_legacy_graphic_header(std::string& bytes) {
  if (bytes.size() < 8) return;
  auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
  uint32_t count = byte(0) | byte(1) << 8;
  uint32_t type = byte(2) | byte(3) << 8;
  uint32_t size = byte(4) | byte(5) << 8 | byte(6) << 16 | byte(7) << 24;
  if (count == 1 && type == 0x0100 && size == bytes.size() - 8) bytes.erase(0, 8);
}

}  // namespace zr
