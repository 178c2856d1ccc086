#include "viewer/delimited_list.h"

#include <gtest/gtest.h>

namespace zr {

void PrintTo(const ListItem& item, std::ostream* os) {
  *os << "{\"" << item.name << "\", \"" << item.value << "\"}";
}

namespace {

using Items = std::vector<ListItem>;

TEST(DelimitedListTest, ParsesItems) {
  struct Case {
    std::string text;
    Items items;
  };
  const Case cases[] = {
      {"", {}},
      {" \t ", {}},
      {"A=1|B=x y|C=2", {{"A", "1"}, {"B", "x y"}, {"C", "2"}}},
      {"A=1 | B=2", {{"A", "1"}, {"B", "2"}}},
      {" \r\nA=1\t|\nB=2 \r\n", {{"A", "1"}, {"B", "2"}}},
      {"A = 1", {{"A ", " 1"}}},  // blanks inside an item belong to it
      {"url=a?b=c=d", {{"url", "a?b=c=d"}}},
      {"flag|=v", {{"flag", ""}, {"", "v"}}},
      {"A=1||B=2|", {{"A", "1"}, {"", ""}, {"B", "2"}, {"", ""}}},
      {"\"A=x|y\"|B=\"q\"", {{"A", "x|y"}, {"B", "\"q\""}}},  // only a leading quote quotes
      {"\"say \"\"hi\"\"=1\"", {{"say \"hi\"", "1"}}},
      {"\"A\" =1 |B=2", {{"A", "1"}, {"B", "2"}}},
      {" \"A=1 \" | B", {{"A", "1 "}, {"B", ""}}},
      {"\"A=never closed|B=2", {{"A", "never closed|B=2"}}},
      {"\xC7\xD1=\xB0\xA1|K=v", {{"\xC7\xD1", "\xB0\xA1"}, {"K", "v"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(DelimitedList::parse(c.text).items(), c.items) << c.text;
}

TEST(DelimitedListTest, LookupIgnoresCaseAndTakesTheFirstOccurrence) {
  DelimitedList list = DelimitedList::parse("Logo=/a.png|LOGO=/b.png|empty=|x=1");
  EXPECT_EQ(list.find("logo"), "/a.png");
  EXPECT_EQ(list.find("EMPTY"), "");
  EXPECT_EQ(list.find("missing"), std::nullopt);
  EXPECT_EQ(list.value_of("missing"), "");
  EXPECT_EQ(list.find("lo"), std::nullopt);
}

TEST(DelimitedListTest, DoubleByteNamesDoNotFoldTrailBytes) {
  // 0x81 0x41 and 0x81 0x61 are two different CP949 characters whose trail bytes are 'A'/'a'.
  DelimitedList list = DelimitedList::parse("\x81\x41=1|\x81\x61=2");
  EXPECT_EQ(list.find("\x81\x61"), "2");
  EXPECT_EQ(list.find("\x81\x41"), "1");
}

}  // namespace
}  // namespace zr
