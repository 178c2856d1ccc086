#pragma once
// The "name=value|name=value" lists of the Params and ImageFile properties.
//
// Items are separated by "|". Blanks and control characters (code 32 or less) directly before
// or after a "|" and at both ends of the text are dropped; those inside an item are kept, also
// around its "=" ("A = 1" names "A " with the value " 1"). An item that begins with a double
// quote is a quoted string up to its closing quote, "" inside standing for one quote; a "|"
// inside the quotes belongs to the item, and a quote never closed runs to the end of the
// text. Text between the closing quote and the next "|", without blanks at its ends, is
// appended to the item, so "\"A\" =1" reads as A=1. The name is the text before the first
// "=", the value everything after it (it may contain "="); an item without "=" is a name with
// an empty value. Empty items ("||", a trailing "|") are kept as empty names. Double-byte
// characters are stepped over whole, so their trail bytes never count as "|" or a quote.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

struct ListItem {
  std::string name;
  std::string value;
  bool operator==(const ListItem&) const = default;
};

class DelimitedList {
 public:
  DelimitedList() = default;
  // Never throws for any input.
  static DelimitedList parse(std::string_view text);

  const std::vector<ListItem>& items() const { return items_; }

  // The value of the first item whose name equals `name`, ignoring case the way ANSI text
  // compares (double-byte characters compared as they are); nullopt when there is none.
  std::optional<std::string> find(std::string_view name) const;
  // As find, with "" for a missing name.
  std::string value_of(std::string_view name) const;

 private:
  std::vector<ListItem> items_;
};

// Reads a quoted string starting at text[pos] (which is the quote character): up to the
// closing quote, a doubled quote inside standing for one. Leaves `pos` after the closing
// quote, or at the end when the quote is never closed. Shared with the relation records.
std::string extract_quoted(std::string_view text, size_t& pos, char quote = '"');

}  // namespace zr
