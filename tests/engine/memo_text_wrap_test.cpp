// Line breaking of memo text, measured with a fixed 10 pixels per byte so that every cut is
// easy to check by hand (a Korean character is two bytes, 20 pixels).
#include "engine/model/memo_text_wrap.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/codepage.h"

namespace zr {
namespace {

// "|" stands for the paragraph mark in the tables.
std::string marks(std::string text) {
  std::replace(text.begin(), text.end(), '|', '\x01');
  return text;
}

TvtStrings marked(std::initializer_list<std::string> lines) {
  TvtStrings out;
  for (const std::string& line : lines) out.push_back(marks(line));
  return out;
}

std::string korean(const char* utf8) {
  return utf8_to_ansi(utf8);
}

int ten_per_byte(std::string_view text) {
  return static_cast<int>(text.size()) * 10;
}

struct WrapCase {
  const char* what;
  TvtStrings lines;
  int width;
  bool word_break;
  TvtStrings expected;
};

TEST(MemoTextWrapTest, BreaksLinesAsTheMemoDoes) {
  const std::string ga = korean("가나다라");  // four characters, eight bytes
  const WrapCase cases[] = {
      {"fits whole", {"abc def"}, 70, false, marked({"abc def|"})},
      {"cut at the last space, which is dropped",
       {"aaa bbb ccc"},
       70,
       false,
       marked({"aaa bbb", "ccc|"})},
      {"only the paragraph's last piece is marked",
       {"aa bb", "cc"},
       30,
       false,
       marked({"aa", "bb|", "cc|"})},
      {"a word too long for a line goes down whole",
       {"ab cdefgh"},
       60,
       false,
       marked({"ab", "cdefgh|"})},
      {"word break fills the line inside the word",
       {"ab cdefgh"},
       60,
       true,
       marked({"ab cde", "fgh|"})},
      {"word break needs room for two characters of the word",
       {"ab cdef"},
       40,
       true,
       marked({"ab", "cdef|"})},
      {"no spaces: cut before the character that overflows",
       {"abcdefgh"},
       30,
       false,
       marked({"abc", "def", "gh|"})},
      {"Korean is never split", {ga}, 50, false, {ga.substr(0, 4), ga.substr(4) + "\x01"}},
      {"Korean word break keeps whole characters",
       {"a " + ga},
       70,
       true,
       {"a " + ga.substr(0, 4), ga.substr(4) + "\x01"}},
      {"CR/LF end pieces, runs of them are skipped",
       {"ab\r\ncd\n\n\ref\r\n"},
       100,
       false,
       marked({"ab|", "cd|", "ef|"})},
      {"a line break inside an overlong line",
       {"abcde\nfg"},
       30,
       false,
       marked({"abc", "de|", "fg|"})},
      {"one character wider than the memo stays", {"W"}, 5, false, marked({"W|"})},
      {"no room even for one character: the line stays whole",
       {"abc def"},
       5,
       false,
       marked({"abc def|"})},
      {"trailing spaces never overflow", {"ab      "}, 30, false, marked({"ab      |"})},
      {"empty lines keep their place", {"", "a"}, 30, false, marked({"|", "a|"})},
  };
  for (const WrapCase& c : cases) {
    MemoWrapOptions options;
    options.available_width = c.width;
    options.word_break = c.word_break;
    EXPECT_EQ(WrapMemoLines(c.lines, options, ten_per_byte), c.expected) << c.what;
  }
}

TEST(MemoTextWrapTest, UnwrappedTextTakesLinesWhole) {
  MemoWrapOptions options;
  options.available_width = 20;

  options.word_wrap = false;
  EXPECT_EQ(WrapMemoLines({"aaa bbb", "c"}, options, ten_per_byte), marked({"aaa bbb|", "c|"}));
  options.vertical = true;
  EXPECT_EQ(WrapMemoLines({"aaa bbb"}, options, ten_per_byte), TvtStrings{"aaa bbb"});

  // Text laid out before (a prepared page) keeps its lines and marks.
  options = {};
  options.available_width = 20;
  options.already_wrapped = true;
  TvtStrings wrapped = marked({"aaa bbb", "ccc|"});
  EXPECT_EQ(WrapMemoLines(wrapped, options, ten_per_byte), wrapped);

  // While designing, one overlong expression is shown whole; running, it is broken.
  options = {};
  options.available_width = 50;
  options.design_mode = true;
  EXPECT_EQ(WrapMemoLines({"[Sum of x]"}, options, ten_per_byte), marked({"[Sum of x]|"}));
  EXPECT_EQ(WrapMemoLines({"[Sum", "of x]"}, options, ten_per_byte), marked({"[Sum|", "of x]|"}));
  options.design_mode = false;
  EXPECT_EQ(WrapMemoLines({"[Sum of x]"}, options, ten_per_byte), marked({"[Sum", "of x]|"}));
}

}  // namespace
}  // namespace zr
