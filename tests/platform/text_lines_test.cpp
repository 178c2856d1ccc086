#include "platform/text_lines.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLinesTest, SplitsAtCrLfLoneLfAndLoneCr) {
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then a lone CR: two breaks
      {"a\r\r\nb", {"a", "", "b"}},
      {"\r\n\r\n", {"", ""}},
      {"x\n\n", {"x", ""}},
      {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"\xB0\xA1\r\n\xB0\xA2", {"\xB0\xA1", "\xB0\xA2"}},  // ANSI bytes untouched
  };
  for (const Case& c : cases) EXPECT_EQ(split_lines(c.text), c.lines) << c.text;
}

TEST(TextLinesTest, TrimDropsEveryByteUpTo32) {
  EXPECT_EQ(trim_blanks(std::string(" \t\x01 a b\x1f\x20", 9)), "a b");
  EXPECT_EQ(trim_blanks("   "), "");
  EXPECT_EQ(trim_blanks("\xA1 x \xA1"), "\xA1 x \xA1");  // high bytes are not blanks
}

}  // namespace
}  // namespace zr
