#pragma once
// The page list a user types for printing: page numbers and ranges separated by commas,
// "1,3,5-12". Blanks anywhere are ignored; an empty text means every page; a text ending in
// "-" runs to the last page ("5-"); a range whose end is below its start ("12-5") selects
// nothing. The list keeps ranges, not numbers, so "1-2000000000" costs nothing.

#include <string_view>
#include <utility>
#include <vector>

namespace zr {

class PageList {
 public:
  // Parses `text` for a report of `page_count` pages. Raises ConversionError
  // "'ITEM' is not a valid integer value" for an item that is not a number or a range of
  // two numbers (an empty item, "a", "1-2-3", a number beyond the integer range).
  static PageList Parse(std::string_view text, int page_count);

  // True when the list selects every page (the text was empty).
  bool all() const { return all_; }
  // Whether page `number` (1-based) is selected.
  bool contains(int number) const;

 private:
  bool all_ = true;
  std::vector<std::pair<int, int>> ranges_;  // inclusive, first <= last
};

}  // namespace zr
