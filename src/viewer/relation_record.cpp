#include "viewer/relation_record.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/text_lines.h"
#include "viewer/delimited_list.h"

namespace zr {
namespace {

constexpr char kSlash = '/';
constexpr char kQuote = '"';

void skip_blanks(std::string_view line, size_t& pos) {
  while (pos < line.size() && is_blank_byte(line[pos])) ++pos;
}

}  // namespace

std::vector<std::string> split_relation_fields(std::string_view line) {
  std::vector<std::string> fields;
  size_t pos = 0;
  skip_blanks(line, pos);
  while (pos < line.size()) {
    if (line[pos] == kQuote) {
      fields.push_back(extract_quoted(line, pos, kQuote));
    } else {
      size_t start = pos;
      while (pos < line.size() && !is_blank_byte(line[pos]) && line[pos] != kSlash)
        pos += char_length(line, pos);
      pos = std::min(pos, line.size());
      fields.emplace_back(line.substr(start, pos - start));
    }
    skip_blanks(line, pos);
    if (pos < line.size() && line[pos] == kSlash) {
      ++pos;
      if (pos == line.size()) fields.emplace_back();  // a trailing "/"
      skip_blanks(line, pos);
    }
  }
  return fields;
}

std::optional<RelationRecord> parse_relation(std::string_view line) {
  std::vector<std::string> fields = split_relation_fields(line);
  if (fields.size() < 5) return std::nullopt;
  return RelationRecord{std::move(fields[0]), std::move(fields[1]), std::move(fields[2]),
                        std::move(fields[3]), std::move(fields[4])};
}

std::vector<RelationRecord> parse_relations(const std::vector<std::string>& lines) {
  std::vector<RelationRecord> records;
  for (const std::string& line : lines)
    if (auto record = parse_relation(line)) records.push_back(std::move(*record));
  return records;
}

}  // namespace zr
