#include "platform/text_lines.h"

namespace zr {

std::string_view trim_blanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && is_blank_byte(text[begin])) ++begin;
  while (end > begin && is_blank_byte(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::vector<std::string> split_lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    char c = text[pos];
    if (c != '\r' && c != '\n') {
      ++pos;
      continue;
    }
    lines.emplace_back(text.substr(start, pos - start));
    pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    start = pos;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string single_line(std::string_view text) {
  std::string out;
  for (const std::string& line : split_lines(text)) {
    const std::string_view trimmed = trim_blanks(line);
    if (trimmed.empty()) continue;
    if (!out.empty()) out += " | ";
    out += trimmed;
  }
  return out;
}

}  // namespace zr
