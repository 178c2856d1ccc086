#include "engine/report/korean_numbers.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {
namespace {

struct SpellCase {
  double number;
  const char* hanja;   // UTF-8
  const char* hangul;  // UTF-8
};

TEST(KoreanNumbers, SpellsInBothScripts) {
  const SpellCase cases[] = {
      {12345, "壹萬貳阡參百四拾五", "일만이천삼백사십오"},
      {1e8, "壹億", "일억"},
      {1e8 + 5, "壹億五", "일억오"},
      {10000, "壹萬", "일만"},
      {20010, "貳萬壹拾", "이만일십"},
      {110000000, "壹億壹阡萬", "일억일천만"},
      // Empty groups after 兆 drop their units, 億萬 first.
      {1e12, "壹兆", "일조"},
      {1e12 + 1e4, "壹兆壹萬", "일조일만"},
      {999999999999999, "九百九拾九兆九阡九百九拾九億九阡九百九拾九萬九阡九百九拾九",
       "구백구십구조구천구백구십구억구천구백구십구만구천구백구십구"},
      // Past the units of the table: thousands of 兆.
      {1e15, "壹阡兆", "일천조"},
      {2.5, "參", "삼"},  // rounded away from zero by the ###0 picture
      {0, "", ""},
  };
  for (const SpellCase& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(ansi_to_utf8(NumberToHanja(c.number)), c.hanja);
    EXPECT_EQ(ansi_to_utf8(NumberToHangul(c.number)), c.hangul);
  }
}

TEST(KoreanNumbers, RefusesNegativeAndTooLargeNumbers) {
  for (double number : {-5.0, 1e16, 1e20}) {
    SCOPED_TRACE(number);
    EXPECT_THROW(NumberToHanja(number), ConversionError);
    EXPECT_THROW(NumberToHangul(number), ConversionError);
  }
}

}  // namespace
}  // namespace zr
