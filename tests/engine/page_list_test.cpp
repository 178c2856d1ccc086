// The page list typed for printing: numbers and ranges, blanks, open ends and every kind of
// malformed input.
#include "engine/report/page_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"

namespace {

using zr::PageList;

// The pages of 1..20 that `text` selects on a report of `count` pages.
std::vector<int> selected(const std::string& text, int count) {
  PageList list = PageList::Parse(text, count);
  std::vector<int> pages;
  for (int n = 1; n <= 20; ++n)
    if (list.contains(n)) pages.push_back(n);
  return pages;
}

struct ListCase {
  const char* text;
  int count;
  std::vector<int> pages;
};

TEST(PageList, SelectsNumbersAndRanges) {
  const ListCase cases[] = {
      {"", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
      {"   ", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
      {"1,3,5-12", 20, {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"5-", 7, {5, 6, 7}},
      {"5 -", 7, {5, 6, 7}},
      {"12-5", 20, {}},
      {"12-5,2", 20, {2}},
      {" 1 , 3 - 4 ", 20, {1, 3, 4}},
      {"1\t,2", 20, {1, 2}},
      {"3,1,3", 20, {1, 3}},  // order and duplicates do not matter
      {"7-7", 20, {7}},
      {"0", 20, {}},
      {"25", 20, {}},
      {"8-", 5, {}},                        // past the last page
      {"18-2000000000", 20, {18, 19, 20}},  // a huge range costs nothing
      {"007", 20, {7}},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(selected(c.text, c.count), c.pages);
  }
  EXPECT_TRUE(PageList::Parse(" ", 3).all());
  EXPECT_FALSE(PageList::Parse("1", 3).all());
}

TEST(PageList, MalformedItemsAreConversionErrors) {
  const char* cases[] = {
      "a", "1,b",         "1,,2",          ",1", "1,",  "-5", "1-2-3", "1-x",     "x-1", "--",
      "-", "99999999999", "1-99999999999", "+3", "1.5", "３", "1;2",   "\x81\x41"};
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    EXPECT_THROW(PageList::Parse(text, 10), zr::ConversionError);
  }
  try {
    PageList::Parse("1,x2", 10);
    FAIL();
  } catch (const zr::ConversionError& error) {
    EXPECT_STREQ(error.what(), "'x2' is not a valid integer value");
  }
}

}  // namespace
