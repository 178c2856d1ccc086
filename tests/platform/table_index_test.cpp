#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/table/client_dataset.h"
#include "platform/table_test_packets.h"

namespace zr {
namespace {

using testing::column;
using testing::load;
using testing::Texts;

const char* kFields =
    R"(<FIELD attrname="ID" fieldtype="i4"/><FIELD attrname="Name" fieldtype="string" WIDTH="10"/>)"
    R"(<FIELD attrname="Score" fieldtype="r8"/>)";
// Two rows share Score 2 (stability), one Score is null; names differ in case.
const char* kRows = R"(<ROW ID="1" Name="beta" Score="2"/><ROW ID="2" Name="Alpha" Score="10"/>)"
                    R"(<ROW ID="3" Name="alpha"/><ROW ID="4" Name="Gamma" Score="2"/>)"
                    R"(<ROW ID="5" Name="delta" Score="-1"/>)";

class TableIndexTest : public ::testing::Test {
 protected:
  void SetUp() override { load(table, kFields, kRows); }
  ClientDataset table{"people"};
};

TEST_F(TableIndexTest, CursorFollowsTheClassicRules) {
  table.first();
  EXPECT_TRUE(table.bof());
  EXPECT_FALSE(table.eof());
  EXPECT_EQ(table.recno(), 1u);
  table.prior();  // already at the start
  EXPECT_TRUE(table.bof());
  EXPECT_EQ(table.value("ID").raw_int(), 1);
  table.last();
  EXPECT_TRUE(table.eof());
  EXPECT_EQ(table.recno(), 5u);
  table.prior();
  EXPECT_FALSE(table.eof());
  EXPECT_EQ(table.value("ID").raw_int(), 4);
  table.next();
  table.next();  // past the end: stays on the last record
  EXPECT_TRUE(table.eof());
  EXPECT_EQ(table.value("ID").raw_int(), 5);
  int walked = 0;
  for (table.first(); !table.eof(); table.next()) ++walked;
  EXPECT_EQ(walked, 5);
  EXPECT_EQ(table.record_count(), 5u);
}

TEST_F(TableIndexTest, StateChanges) {
  table.empty();  // rows go, fields stay
  EXPECT_TRUE(table.is_open());
  EXPECT_EQ(table.field_count(), 3u);
  EXPECT_EQ(table.record_count(), 0u);
  EXPECT_TRUE(table.eof() && table.bof());
  table.close();  // rows and fields go
  EXPECT_FALSE(table.is_open());
  EXPECT_EQ(table.field_count(), 0u);
  EXPECT_EQ(table.record_count(), 0u);
  try {
    table.first();
    FAIL() << "moved a closed dataset";
  } catch (const ZorelError& e) {
    EXPECT_STREQ(e.what(), "people: Cannot perform this operation on a closed dataset");
  }
  EXPECT_THROW(table.open(), ZorelError);
  load(table, kFields, kRows);
  EXPECT_EQ(table.record_count(), 5u);
}

TEST_F(TableIndexTest, FieldLookupIsCaseInsensitive) {
  EXPECT_EQ(table.field_index("name"), 1u);
  EXPECT_EQ(table.find_field("SCORE"), 2u);
  EXPECT_FALSE(table.find_field("Nam"));
  EXPECT_EQ(table.field_names(), (Texts{"ID", "Name", "Score"}));
  try {
    table.value("Missing");
    FAIL();
  } catch (const ZorelError& e) {
    EXPECT_STREQ(e.what(), "people: Field 'Missing' not found");
  }
}

TEST_F(TableIndexTest, OrdersByIndexes) {
  struct Case {
    const char* fields;
    IndexOptions options;
    const char* descending;
    const char* case_insensitive;
    Texts ids;
  };
  const Case cases[] = {
      // Nulls first; equal scores keep packet order (stable).
      {"Score", {}, "", "", {"3", "5", "1", "4", "2"}},
      {"Score", {.descending = true}, "", "", {"2", "1", "4", "5", "3"}},
      {" score ; ID ", {}, "ID", "", {"3", "5", "4", "1", "2"}},  // blanks, per-field desc
      {"Name", {}, "", "", {"2", "4", "3", "1", "5"}},            // byte-wise: upper first
      {"Name;ID", {.case_insensitive = true}, "", "", {"2", "3", "1", "5", "4"}},
      {"Name;ID", {.descending = true}, "ID", "Name", {"3", "2", "1", "5", "4"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string name = "ix" + std::to_string(n++);
    table.add_index(name, c.fields, c.options, c.descending, c.case_insensitive);
    table.set_index_name(name);
    EXPECT_EQ(column(table, "ID"), c.ids) << c.fields;
  }
  EXPECT_EQ(table.index_names().size(), std::size(cases));
  table.set_index_name("");
  EXPECT_EQ(column(table, "ID"), (Texts{"1", "2", "3", "4", "5"}));
  table.set_index_field_names("Score;Name");
  EXPECT_EQ(table.index_name(), "");
  EXPECT_EQ(column(table, "ID"), (Texts{"3", "5", "4", "1", "2"}));
  table.set_index_name("IX1");  // names compare case-insensitively; clears the field list
  EXPECT_EQ(table.index_field_names(), "");
  EXPECT_EQ(column(table, "ID"), (Texts{"2", "1", "4", "5", "3"}));
  table.set_index_field_names("");  // already "": the index stays current
  EXPECT_EQ(table.index_name(), "IX1");
  EXPECT_EQ(column(table, "ID"), (Texts{"2", "1", "4", "5", "3"}));
}

TEST(TableTextOrderTest, CaseInsensitiveCompareNeverFoldsTrailBytes) {
  // 0x81 0x61 and 0x81 0x41 are two different double-byte characters of code page 949.
  EXPECT_EQ(compare_text("\x81\x61", "\x81\x41", true, 949), 1);
  EXPECT_EQ(compare_text("ab", "AB", true, 949), 0);
  EXPECT_EQ(compare_text("\xB0\x61z", "\xB0\x61Z", true, 949), 0);  // single bytes fold
  EXPECT_LT(compare_text("Z", "a", false, 949), 0);
  EXPECT_GT(compare_text("\xB0", "a", false, 949), 0);  // bytes compare unsigned
  EXPECT_LT(compare_text("ab", "abc", true, 949), 0);
}

TEST_F(TableIndexTest, IndexErrors) {
  auto message = [&](auto action) -> std::string {
    try {
      action();
    } catch (const ZorelError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(message([&] { table.add_index("a", "ID;Nope"); }), "people: Field 'Nope' not found");
  EXPECT_EQ(message([&] { table.add_index("a", "ID", {}, "Nope"); }),
            "people: Field 'Nope' not found");
  table.add_index("a", "ID");
  EXPECT_EQ(message([&] { table.add_index("A", "Name"); }), "people: Index 'A' already exists");
  EXPECT_EQ(message([&] { table.add_index("b", " ; "); }), "people: Index 'b' has no fields");
  EXPECT_EQ(message([&] { table.delete_index("zz"); }), "people: Index 'zz' not found");
  EXPECT_EQ(message([&] { table.set_index_name("zz"); }), "people: Index 'zz' not found");
  EXPECT_EQ(message([&] { table.set_index_field_names("Name;Nope"); }),
            "people: Field 'Nope' not found");
  table.set_index_name("a");
  table.delete_index("a");  // the current index: back to natural order
  EXPECT_EQ(table.index_name(), "");
  EXPECT_TRUE(table.index_names().empty());
}

TEST_F(TableIndexTest, CursorStaysOnItsRecordWhenTheOrderChanges) {
  table.first();
  table.next();
  table.next();  // ID 3 (null score)
  table.add_index("desc", "Score", {.descending = true});
  table.set_index_name("desc");
  EXPECT_EQ(table.value("ID").raw_int(), 3);
  EXPECT_EQ(table.recno(), 5u);
  table.set_index_field_names("Name");
  EXPECT_EQ(table.value("ID").raw_int(), 3);
  EXPECT_EQ(table.recno(), 3u);
}

TEST_F(TableIndexTest, Bookmarks) {
  table.first();
  table.next();
  Bookmark two = table.get_bookmark();  // ID 2
  table.last();
  Bookmark five = table.get_bookmark();
  EXPECT_TRUE(table.bookmark_valid(two));
  EXPECT_LT(table.compare_bookmarks(two, five), 0);
  EXPECT_EQ(table.compare_bookmarks(two, two), 0);
  table.goto_bookmark(two);
  EXPECT_EQ(table.value("ID").raw_int(), 2);
  EXPECT_FALSE(table.eof() || table.bof());

  // Bookmarks survive an index change; comparison follows the new order.
  table.add_index("score", "Score", {.descending = true});
  table.set_index_name("score");
  EXPECT_GT(table.compare_bookmarks(five, two), 0);
  table.add_index("asc", "Score");
  table.set_index_name("asc");
  EXPECT_LT(table.compare_bookmarks(five, two), 0);  // -1 before 10
  table.goto_bookmark(five);
  EXPECT_EQ(table.value("ID").raw_int(), 5);
  EXPECT_EQ(table.recno(), 2u);

  Bookmark none;
  EXPECT_LT(table.compare_bookmarks(none, two), 0);
  EXPECT_FALSE(table.bookmark_valid(none));
  EXPECT_THROW(table.goto_bookmark(none), ZorelError);
  table.free_bookmark(two);
  EXPECT_TRUE(two.is_null());

  ClientDataset other("other");
  load(other, kFields, kRows);
  other.first();
  EXPECT_FALSE(table.bookmark_valid(other.get_bookmark()));
  table.empty();  // rows gone: old bookmarks are invalid
  EXPECT_FALSE(table.bookmark_valid(five));
  EXPECT_TRUE(table.get_bookmark().is_null());
}

}  // namespace
}  // namespace zr
