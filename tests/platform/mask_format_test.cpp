#include "platform/mask_format.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

TEST(FormatMaskTextTest, Table) {
  struct Case {
    std::string mask, text, expected;
  } cases[] = {
      // The engine's form: mask + ";0; " (literals from the mask, blanks as spaces).
      {"000-00;0; ", "12345", "123-45"},
      {"000-00;0; ", "123", "123-  "},
      {"000-00;0; ", "1234567", "123-4567"},  // nothing of the text is lost
      {"000-00;0; ", "", "   -  "},
      {"!000-00;0; ", "123", "  1-23"},  // filled from the right
      {"!000-00;0; ", "9123456", "91234-56"},
      {"(999) 000-0000;0; ", "0215551234", "(021) 555-1234"},
      {"(999)000-0000;0;_", "02155", "(021)55_-____"},
      {"000000-0000000;0; ", "9001011234567", "900101-1234567"},
      // "\" makes the next character literal; ":" "/" are the locale separators; "_" a blank.
      {"\\0\\L00;0; ", "12", "0L12"},
      {"00:00;0; ", "1230", "12:30"},
      {"0000/00/00;0; ", "20240305", "2024-03-05"},
      {"00_00;0; ", "1234", "12 34"},
      // Case directives.
      {">LLL<lll;0; ", "abcDEF", "ABCdef"},
      {">L<>L<L;0; ", "aBC", "ABc"},
      // Saved literals: the text already holds them; a missing one is supplied.
      {"000-00;1; ", "123-45", "123-45"},
      {"000-00;1;_", "12345", "123-45"},
      {"000-00;1;_", "123-4", "123-4_"},
      {"000-00", "123-45", "123-45"},  // no flags: literals are saved, blank "_"
      {"000-00", "1", "1__-__"},
      // The flags are read only from the last four characters.
      {"0;0", "5", "5;_"},
      {"00;;*", "1", "1*"},
      {"a;b", "x", "x;b"},
      {";0; ", "abc", "abc"},
      {"", "abc", "abc"},
      {"000\\", "12", "12_"},  // a trailing "\" is ignored
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format_mask_text(c.mask, c.text), c.expected) << c.mask << " / " << c.text;
  }
}

TEST(FormatMaskTextTest, DoubleByteCharactersStayWhole) {
  const std::string ga = "\xB0\xA1", na = "\xB3\xAA", da = "\xB4\xD9";  // 가 나 다
  EXPECT_EQ(format_mask_text("CC-C;0; ", ga + na + da), ga + na + "-" + da);
  EXPECT_EQ(format_mask_text("!CCC;0;_", ga), "__" + ga);
  // A double-byte literal in the mask, and a trail byte that looks like "L" (0x4C).
  EXPECT_EQ(format_mask_text("00" + ga + "\x81\x4C" + "0;0; ", "123"),
            "12" + ga + "\x81\x4C" + "3");
  // Upper case leaves double-byte characters alone, even with a letter-like trail byte.
  EXPECT_EQ(format_mask_text(">CC;0; ", std::string("\x81\x61") + "b"),
            "\x81\x61"
            "B");
}

TEST(FormatMaskTextTest, SeparatorsComeFromSettings) {
  FormatSettings fs = FormatSettings::defaults();
  fs.date_separator = '.';
  fs.time_separator = 'h';
  EXPECT_EQ(format_mask_text("00/00 00:00;0; ", "01021230", fs), "01.02 12h30");
}

}  // namespace
}  // namespace zr
