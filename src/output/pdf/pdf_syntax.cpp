#include "output/pdf/pdf_syntax.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/canvas/color.h"

namespace zr {

std::string PdfNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  char text[400];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
  if (error != std::errc()) return "0.0000";
  return std::string(text, end);
}

std::string PdfColor(int32_t color) {
  const uint32_t value = Color(static_cast<uint32_t>(color)).resolved().value_or(0);
  return PdfNumber((value & 0xFF) / 255.0) + " " + PdfNumber(((value >> 8) & 0xFF) / 255.0) + " " +
         PdfNumber(((value >> 16) & 0xFF) / 255.0);
}

std::string PdfString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == '(' || c == ')') out += '\\';
    out += c;
  }
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
  return std::to_string(object_number) + " 0 R";
}

}  // namespace zr
