#include "viewer/section_grammar.h"

#include "platform/codepage.h"
#include "platform/text_lines.h"

namespace zr {
namespace {

constexpr std::string_view kDataKeyword = "DATANAME=";
constexpr std::string_view kGridKeyword = "GRIDNAME=";

bool starts_with_upper(std::string_view line, std::string_view keyword) {
  return line.size() >= keyword.size() && upper_ascii(line.substr(0, keyword.size())) == keyword;
}

std::string section_name(std::string_view rest, SectionKind kind) {
  std::string name = upper_ascii(trim_blanks(rest));
  if (kind == SectionKind::Data) {
    if (name == "M") return "DATAMASTER";
    if (name == "D") return "DATADETAIL";
  }
  return name;
}

}  // namespace

std::vector<Section> cut_sections(const std::vector<std::string>& lines, SectionKind kind) {
  const std::string_view keyword = kind == SectionKind::Data ? kDataKeyword : kGridKeyword;
  std::vector<Section> sections;
  std::vector<std::string> current;
  for (const std::string& raw : lines) {
    std::string_view line = trim_blanks(raw);
    if (starts_with_upper(line, keyword)) {
      sections.push_back({section_name(line.substr(keyword.size()), kind), std::move(current)});
      current.clear();
    } else if (!starts_with_upper(line, "<PRE>") && !starts_with_upper(line, "</PRE>")) {
      current.emplace_back(line);
    }
  }
  return sections;
}

std::vector<Section> cut_sections(std::string_view text, SectionKind kind) {
  return cut_sections(split_lines(text), kind);
}

std::string join_section_lines(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace zr
