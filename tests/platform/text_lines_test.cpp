#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <utility>

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

TEST(TextLinesTest, SingleLineJoinsTheLinesWithSeparators) {
  const std::pair<std::string, std::string> cases[] = {
      // The preparation error the engine separates with CR.
      {"An error occured during calculating\r[Title]\r\rReport: Report\rObject: Title\r\r"
       "Undefined symbol \"X\"",
       "An error occured during calculating | [Title] | Report: Report | Object: Title | "
       "Undefined symbol \"X\""},
      {"one line", "one line"},
      {"a\r\n  b  \n\n", "a | b"},
      {"", ""},
  };
  for (const auto& [text, line] : cases) EXPECT_EQ(single_line(text), line) << text;
}

}  // namespace
}  // namespace zr
