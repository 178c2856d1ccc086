#include "viewer/delimited_list.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/text_lines.h"

namespace zr {
namespace {

constexpr char kBar = '|';
constexpr char kQuote = '"';

// Reads one item starting at `pos` (no leading blanks) up to the next "|" outside quotes or
// the end; leaves `pos` on that "|" or at the end.
std::string read_item(std::string_view text, size_t& pos) {
  std::string item;
  if (pos < text.size() && text[pos] == kQuote) item = extract_quoted(text, pos, kQuote);
  size_t start = pos;
  while (pos < text.size() && text[pos] != kBar) pos += char_length(text, pos);
  pos = std::min(pos, text.size());
  item += trim_blanks(text.substr(start, pos - start));
  return item;
}

ListItem split_item(const std::string& item) {
  size_t eq = item.find('=');
  if (eq == std::string::npos) return {item, {}};
  return {item.substr(0, eq), item.substr(eq + 1)};
}

}  // namespace

std::string extract_quoted(std::string_view text, size_t& pos, char quote) {
  std::string out;
  ++pos;  // the opening quote
  while (pos < text.size()) {
    if (text[pos] == quote) {
      if (pos + 1 < text.size() && text[pos + 1] == quote) {
        out += quote;
        pos += 2;
        continue;
      }
      ++pos;
      return out;
    }
    size_t length = std::min(char_length(text, pos), text.size() - pos);
    out.append(text.substr(pos, length));
    pos += length;
  }
  return out;
}

DelimitedList DelimitedList::parse(std::string_view text) {
  DelimitedList list;
  text = trim_blanks(text);
  if (text.empty()) return list;
  size_t pos = 0;
  while (true) {
    while (pos < text.size() && is_blank_byte(text[pos])) ++pos;
    list.items_.push_back(split_item(read_item(text, pos)));
    if (pos >= text.size()) break;
    ++pos;  // the "|"
  }
  return list;
}

std::optional<std::string> DelimitedList::find(std::string_view name) const {
  const std::string wanted = ansi_upper(name);
  for (const ListItem& item : items_)
    if (item.name.size() == name.size() && ansi_upper(item.name) == wanted) return item.value;
  return std::nullopt;
}

std::string DelimitedList::value_of(std::string_view name) const {
  return find(name).value_or(std::string());
}

}  // namespace zr
