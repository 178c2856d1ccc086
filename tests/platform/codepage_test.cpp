#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zr {
namespace {

// "한글" in code page 949 and UTF-8.
const std::string kHangulAnsi = "\xC7\xD1\xB1\xDB";
const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80";

TEST(CodePageTest, LeadBytes) {
  EXPECT_TRUE(is_lead_byte(0x81));
  EXPECT_TRUE(is_lead_byte(0xFE));
  EXPECT_FALSE(is_lead_byte(0x80));
  EXPECT_FALSE(is_lead_byte('A'));
  EXPECT_FALSE(is_lead_byte(0xC7, 1252));
  EXPECT_TRUE(is_lead_byte(0x9F, 932));
  EXPECT_FALSE(is_lead_byte(0xA0, 932));
  EXPECT_EQ(char_length(kHangulAnsi, 0), 2u);
  EXPECT_EQ(char_length("a\xC7", 1), 1u);  // a lead byte at the end stands alone
}

TEST(CodePageTest, CaseChanges) {
  EXPECT_EQ(upper_ascii("dataName=m\xE9"), "DATANAME=M\xE9");
  EXPECT_EQ(lower_ascii("ABC"), "abc");
  // "갘" is 0xB0 0x61 ... a trail byte that looks like 'a' must survive ANSI upper-casing.
  const std::string with_trail = "x\x81\x61y";
  EXPECT_EQ(ansi_upper(with_trail), "X\x81\x61Y");
  EXPECT_EQ(ansi_lower("X\x81\x41Y"), "x\x81\x41y");
  EXPECT_EQ(ansi_upper("caf\xE9", 1252), "CAF\xC9");
  EXPECT_TRUE(same_text_ascii("DataSet", "DATASET"));
  EXPECT_FALSE(same_text_ascii("DataSet", "DATASETS"));
}

TEST(CodePageTest, Conversions) {
  EXPECT_EQ(ansi_to_utf8(kHangulAnsi), kHangulUtf8);
  EXPECT_EQ(utf8_to_ansi(kHangulUtf8), kHangulAnsi);
  EXPECT_EQ(ansi_to_utf16(kHangulAnsi), u"\uD55C\uAE00");
  EXPECT_EQ(utf16_to_ansi(u"\uD55C\uAE00"), kHangulAnsi);
  // Unrepresentable characters become '?', malformed bytes never throw.
  EXPECT_EQ(utf8_to_ansi("a\xE2\x82\xAC"
                         "b",
                         949)
                    .size() >= 3,
            true);
  EXPECT_EQ(utf8_to_ansi("\xF0\x9F\x98\x80", 1252), "?");
  EXPECT_EQ(utf8_to_ansi("a\xFF"
                         "b",
                         1252),
            "a?b");
  EXPECT_EQ(ansi_to_utf8("\xC7", 949), "\xEF\xBF\xBD");  // a lone lead byte
  EXPECT_EQ(charset_to_utf8("\xE9", "ISO-8859-1"), "\xC3\xA9");
  EXPECT_TRUE(is_valid_utf8(kHangulUtf8));
  EXPECT_FALSE(is_valid_utf8(kHangulAnsi));
  EXPECT_FALSE(is_valid_utf8("\xC0\x80"));  // overlong
  EXPECT_EQ(ansi_to_oem("\xE9", 1252), "\x82");
}

// A stray lead byte spoils only itself: the quote, blank or digit after it is no trail byte,
// so markup around 8-bit text of another code page keeps its shape.
TEST(CodePageTest, StrayLeadBytesKeepWhatFollows) {
  const std::tuple<std::string, std::string> cases[] = {
      {"O\xB4\"", "O\xEF\xBF\xBD\""},
      {"\xB4 1", "\xEF\xBF\xBD 1"},
      {"\xB4\x30",
       "\xEF\xBF\xBD"
       "0"},
      {"a\xC7\xD1\xB1\xDB", "a" + kHangulUtf8},  // real pairs still convert
  };
  for (const auto& [ansi, utf8] : cases) {
    EXPECT_EQ(ansi_to_utf8(ansi, 949), utf8) << ansi;
    EXPECT_EQ(ansi_to_utf16(ansi, 949).size(), utf8 == "a" + kHangulUtf8 ? 3u : ansi.size());
  }
  EXPECT_EQ(try_ansi_to_utf8(kHangulAnsi, 949), kHangulUtf8);
  EXPECT_EQ(try_ansi_to_utf8("O\xB4\"", 949), std::nullopt);
  EXPECT_EQ(try_ansi_to_utf8("O\xB4\"", 1252), "O\xC2\xB4\"");
  EXPECT_EQ(try_ansi_to_utf8("", 949), "");
}

}  // namespace
}  // namespace zr
