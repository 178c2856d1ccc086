#include "viewer/section_grammar.h"

#include <gtest/gtest.h>

namespace zr {

void PrintTo(const Section& section, std::ostream* os) {
  *os << "{\"" << section.name << "\":";
  for (const std::string& line : section.lines) *os << " \"" << line << "\"";
  *os << "}";
}

namespace {

using Lines = std::vector<std::string>;

TEST(SectionGrammarTest, SevenLinePageGivesTwoSectionsNamedAfterTheirLines) {
  auto sections = cut_sections(
      "<PRE>\r\na\r\nb\r\nDATANAME=m\r\nc\r\nDATANAME=Orders\r\n</PRE>\r\n", SectionKind::Data);
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0], (Section{"DATAMASTER", {"a", "b"}}));
  EXPECT_EQ(sections[1], (Section{"ORDERS", {"c"}}));
}

TEST(SectionGrammarTest, PageWithoutNameLineHasNoSection) {
  EXPECT_TRUE(cut_sections("<html>\na\nb\nDATANAMEx=1\n DATANAM=2\n", SectionKind::Data).empty());
  EXPECT_TRUE(cut_sections("", SectionKind::Data).empty());
}

TEST(SectionGrammarTest, LinesAreTrimmedAndKeywordsFoundInAnyCase) {
  // Markup before <PRE> belongs to the first section; empty lines are kept; text after the
  // last name line is discarded; "<pre>x" goes whole.
  const std::string page =
      "<html>\n\t<body> \n<pre>x\n\n  row 1  \n   DataName= d  \nrow 2\n dataname=Sub_1\n"
      "</Pre>tail\n trailing\nDATANAME=\n";
  auto sections = cut_sections(page, SectionKind::Data);
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0], (Section{"DATADETAIL", {"<html>", "<body>", "", "row 1"}}));
  EXPECT_EQ(sections[1], (Section{"SUB_1", {"row 2"}}));
  EXPECT_EQ(sections[2], (Section{"", {"trailing"}}));  // empty names are the cutter's to reject
}

TEST(SectionGrammarTest, ShortNamesMapOnlyForDataSections) {
  const std::string text = "1\nDATANAME=M\n2\ndataname=d\n3\nGRIDNAME=m\n4\nGridName= d \n";
  auto data = cut_sections(text, SectionKind::Data);
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(data[0].name, "DATAMASTER");
  EXPECT_EQ(data[1].name, "DATADETAIL");

  auto grids = cut_sections(text, SectionKind::Grid);
  ASSERT_EQ(grids.size(), 2u);
  EXPECT_EQ(grids[0], (Section{"M", {"1", "DATANAME=M", "2", "dataname=d", "3"}}));
  EXPECT_EQ(grids[1], (Section{"D", {"4"}}));
}

TEST(SectionGrammarTest, OnlyAsciiLettersAreUpperCased) {
  auto sections = cut_sections("x\nDATANAME=ab\xB0\xA1z\n", SectionKind::Data);
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0].name, "AB\xB0\xA1Z");
}

TEST(SectionGrammarTest, JoinPutsCrLfAfterEveryLine) {
  EXPECT_EQ(join_section_lines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(join_section_lines({}), "");
}

}  // namespace
}  // namespace zr
