#include "objects/grid_meta.h"

#include "platform/codepage.h"
#include "platform/number_text.h"

namespace zr {
namespace {

std::string replace_all(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  size_t at = 0;
  for (size_t hit = text.find(from); hit != std::string_view::npos; hit = text.find(from, at)) {
    out.append(text.substr(at, hit - at));
    out.append(to);
    at = hit + from.size();
  }
  out.append(text.substr(at));
  return out;
}

// Code 0 ends a text where the fields are read, so it separates like the other controls.
bool separates(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// The fields of one line: items end at any control character or blank (the code-1
// separator among them); an item that begins with a double quote runs to its closing quote,
// a doubled quote standing for one.
std::vector<std::string> split_items(std::string_view line) {
  std::vector<std::string> items;
  size_t pos = 0;
  const size_t n = line.size();
  while (pos < n && separates(line[pos])) ++pos;
  while (pos < n) {
    std::string item;
    if (line[pos] == '"') {
      ++pos;
      while (pos < n) {
        if (line[pos] == '"') {
          if (pos + 1 < n && line[pos + 1] == '"') {
            item += '"';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        item += line[pos++];
      }
    } else {
      while (pos < n && !separates(line[pos])) item += line[pos++];
    }
    items.push_back(std::move(item));
    while (pos < n && separates(line[pos])) ++pos;
  }
  return items;
}

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

std::optional<std::string> GridMetaRecord::Find(std::string_view key) const {
  for (const GridMetaField& f : fields)
    if (same_text_ascii(f.key, key)) return f.value;
  return std::nullopt;
}

std::string GridMetaRecord::Text(std::string_view key) const {
  return GridMetaUnescape(Find(key).value_or(std::string()));
}

int32_t GridMetaRecord::Int(std::string_view key) const {
  return str_to_int(Find(key).value_or(std::string()));
}

std::string GridMetaRecord::Kind() const {
  return upper_ascii(Find("TYPE").value_or(std::string()));
}

std::string GridMetaUnescape(std::string_view value) {
  return replace_all(value, kGridSpace, " ");
}

std::vector<GridMetaRecord> ParseGridMeta(std::string_view meta_string) {
  const std::string escaped = replace_all(meta_string, " ", kGridSpace);
  std::vector<GridMetaRecord> records;
  for (std::string_view line : split_lines(escaped)) {
    GridMetaRecord record;
    for (std::string& item : split_items(line)) {
      const size_t eq = item.find('=');
      if (eq == std::string::npos)
        record.fields.push_back({std::move(item), {}});
      else
        record.fields.push_back({item.substr(0, eq), item.substr(eq + 1)});
    }
    const std::string kind = record.Kind();
    if (kind == "BAND" || kind == "MEMO") records.push_back(std::move(record));
  }
  return records;
}

}  // namespace zr
