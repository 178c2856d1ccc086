#include "output/pdf/pdf_syntax.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/canvas/color.h"

namespace zr {

namespace {

// Digits of a non-negative integer, most significant first.
void append_digits(std::string& out, uint64_t value, int min_digits = 1) {
  char digits[24];
  char* first = digits + sizeof digits;  // filled from the end, appended at once
  do {
    *--first = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 || digits + sizeof digits - first < min_digits);
  out.append(first, digits + sizeof digits);
}

void append_fixed4_slow(std::string& out, double value) {
  char text[400];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
  if (error != std::errc()) {
    out += "0.0000";
    return;
  }
  out.append(text, end);
}

}  // namespace

void AppendFixed4(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0;
  const double scaled = std::fabs(value) * 10000;
  // Far from a rounding tie the scaled product rounds as the exact value does; ties and huge
  // values go the exact (slower) way.
  const double fraction = scaled - std::floor(scaled);
  if (scaled >= 1e12 || std::fabs(fraction - 0.5) < 1e-3) {
    append_fixed4_slow(out, value);
    return;
  }
  const auto units = static_cast<uint64_t>(std::llround(scaled));
  if (std::signbit(value)) out += '-';
  append_digits(out, units / 10000);
  out += '.';
  append_digits(out, units % 10000, 4);
}

void AppendNumber(std::string& out, double value, int decimals) {
  decimals = std::clamp(decimals, 0, 9);
  uint64_t one = 1;
  for (int i = 0; i < decimals; ++i) one *= 10;
  if (!std::isfinite(value) || std::fabs(value) * static_cast<double>(one) >= 1e17) value = 0;
  const int64_t units = std::llround(value * static_cast<double>(one));
  if (units == 0) {
    out += '0';
    return;
  }
  if (units < 0) out += '-';
  const uint64_t magnitude = static_cast<uint64_t>(units < 0 ? -units : units);
  append_digits(out, magnitude / one);
  uint64_t fraction = magnitude % one;
  if (fraction == 0) return;
  int digits = decimals;
  while (fraction % 10 == 0) fraction /= 10, --digits;
  out += '.';
  append_digits(out, fraction, digits);
}

void AppendInt(std::string& out, int64_t value) {
  if (value < 0) out += '-';
  append_digits(out, value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
}

std::string PdfNumber(double value) {
  std::string text;
  AppendFixed4(text, value);
  return text;
}

std::string PdfColor(int32_t color) {
  const uint32_t value = Color(static_cast<uint32_t>(color)).resolved().value_or(0);
  std::string text;
  AppendFixed4(text, (value & 0xFF) / 255.0);
  text += ' ';
  AppendFixed4(text, ((value >> 8) & 0xFF) / 255.0);
  text += ' ';
  AppendFixed4(text, ((value >> 16) & 0xFF) / 255.0);
  return text;
}

void AppendPdfString(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '\\' || c == '(' || c == ')') out += '\\';
    out += c;
  }
}

std::string PdfString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendPdfString(out, text);
  return out;
}

std::string PdfName(std::string_view name) {
  static constexpr std::string_view kDelimiters = "#%()/<>[]{}";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 33 || byte > 126 || kDelimiters.find(c) != std::string_view::npos) {
      out += '#';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::string PdfRef(int object_number) {
  std::string text;
  AppendInt(text, object_number);
  return text + " 0 R";
}

}  // namespace zr
