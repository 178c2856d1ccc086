#include "engine/report/page_list.h"

#include <charconv>
#include <string>

#include "platform/errors.h"

namespace zr {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int to_number(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || text[0] == '-')
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
  return value;
}

}  // namespace

PageList PageList::Parse(std::string_view text, int page_count) {
  std::string items;
  for (char c : text)
    if (!is_blank(c)) items += c;
  PageList list;
  if (items.empty()) return list;
  list.all_ = false;
  if (items.back() == '-') items += std::to_string(page_count);
  items += ',';

  size_t start = 0;  // of the current item
  std::string_view all(items);
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] != ',') continue;
    std::string_view item = all.substr(start, i - start);
    start = i + 1;
    size_t dash = item.find('-');
    if (dash == std::string_view::npos) {
      int number = to_number(item);
      list.ranges_.emplace_back(number, number);
      continue;
    }
    if (item.find('-', dash + 1) != std::string_view::npos) to_number(item);  // "1-2-3"
    int first = to_number(item.substr(0, dash));
    int last = to_number(item.substr(dash + 1));
    if (first <= last) list.ranges_.emplace_back(first, last);
  }
  return list;
}

bool PageList::contains(int number) const {
  if (all_) return true;
  for (auto [first, last] : ranges_)
    if (number >= first && number <= last) return true;
  return false;
}

}  // namespace zr
