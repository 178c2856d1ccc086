#include "viewer/relation_record.h"

#include <gtest/gtest.h>

namespace zr {

void PrintTo(const RelationRecord& r, std::ostream* os) {
  *os << "{" << r.detail << " / " << r.master_source << " / " << r.index_fields << " / "
      << r.descending_fields << " / " << r.master_fields << "}";
}

namespace {

using Fields = std::vector<std::string>;

TEST(RelationRecordTest, SplitsAtSlashesAndBlankRuns) {
  struct Case {
    std::string line;
    Fields fields;
  };
  const Case cases[] = {
      {"A/B/C//E", {"A", "B", "C", "", "E"}},
      {"A/B/", {"A", "B", ""}},
      {"/", {"", ""}},
      {" ", {}},
      {"", {}},
      {"A B\t C", {"A", "B", "C"}},
      {" A / B /C\r\n", {"A", "B", "C"}},
      {"A/ /B", {"A", "", "B"}},
      {"A;B/C", {"A;B", "C"}},  // field lists keep their own separators
      {"\"A /B\"/C", {"A /B", "C"}},
      {"\"A\"B", {"A", "B"}},
      {"\xC7\xD1/X", {"\xC7\xD1", "X"}},
  };
  for (const Case& c : cases) EXPECT_EQ(split_relation_fields(c.line), c.fields) << c.line;
}

TEST(RelationRecordTest, RecordNeedsFiveFields) {
  EXPECT_EQ(parse_relation("DATADETAIL/DSDATAMASTER/ID//ID"),
            (RelationRecord{"DATADETAIL", "DSDATAMASTER", "ID", "", "ID"}));
  EXPECT_EQ(parse_relation("DATADETAIL/DSDATAMASTER/ID/ID/ID"),
            (RelationRecord{"DATADETAIL", "DSDATAMASTER", "ID", "ID", "ID"}));
  EXPECT_EQ(parse_relation("D/DSM/A;B/B/X;Y/extra/more"),
            (RelationRecord{"D", "DSM", "A;B", "B", "X;Y"}));
  EXPECT_EQ(parse_relation("D/DSM/ID//"), (RelationRecord{"D", "DSM", "ID", "", ""}));
  EXPECT_EQ(parse_relation("D/DSM/ID"), std::nullopt);
  EXPECT_EQ(parse_relation(" "), std::nullopt);
}

TEST(RelationRecordTest, ParsesOnlyTheUsableLines) {
  auto records = parse_relations({" ", "A/DSB/ID//ID", "short/line", "C/DSD/K/K/K"});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].detail, "A");
  EXPECT_EQ(records[1].descending_fields, "K");
}

}  // namespace
}  // namespace zr
