#include "engine/model/cross_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using zr::TvtCross;
using zr::TvtCrossDefinition;
using zr::Value;

using Record = std::map<std::string, Value>;

TvtCross Build(const std::vector<std::string>& memo, const std::vector<Record>& records) {
  std::optional<TvtCrossDefinition> def = TvtCrossDefinition::Parse(memo);
  EXPECT_TRUE(def.has_value());
  TvtCross cross(*def);
  size_t at = 0;
  bool started = false;
  cross.Build(
      [&] {
        if (started) ++at;
        started = true;
        return at < records.size();
      },
      [&](const std::string& field) { return records[at].at(field); });
  return cross;
}

// The display texts of one table row (values 0 of every column).
std::vector<std::string> Row(const TvtCross& cross, int row, int index = 0) {
  std::vector<std::string> texts;
  for (int c = 0; c < cross.ColumnCount(); ++c) {
    const Value v = cross.Cell(row, c, index);
    texts.push_back(v.is_null() ? "-" : v.to_string());
  }
  return texts;
}

using Texts = std::vector<std::string>;

TEST(CrossDefinitionTest, ParsesFieldsTotalsAndFunctions) {
  auto def =
      TvtCrossDefinition::Parse({" Sales ", "Region+;City;+", "Month;;", "Amount;Qty+COUNT;X+avg"});
  ASSERT_TRUE(def);
  EXPECT_EQ(def->dataset, "Sales");
  ASSERT_EQ(def->rows.size(), 2u);
  EXPECT_TRUE(def->rows[0].totals);
  EXPECT_EQ(def->rows[1].name, "City");
  ASSERT_EQ(def->columns.size(), 1u);
  ASSERT_EQ(def->cells.size(), 3u);
  EXPECT_EQ(def->cells[0].function, zr::TvtCrossFunction::Sum);  // no "+": sum
  EXPECT_EQ(def->cells[1].function, zr::TvtCrossFunction::Count);
  EXPECT_EQ(def->cells[2].function, zr::TvtCrossFunction::Avg);
  // Fewer than four lines, or a blank one, make no definition.
  EXPECT_FALSE(TvtCrossDefinition::Parse({"Sales", "A", "B"}));
  EXPECT_FALSE(TvtCrossDefinition::Parse({"Sales", "A", "  ", "C"}));
}

TEST(CrossTableTest, NumericKeysSortByValueAndCellsSum) {
  const TvtCross cross =
      Build({"S", "R", "N", "V"}, {{{"R", Value("a")}, {"N", Value(2)}, {"V", Value(1)}},
                                   {{"R", Value("a")}, {"N", Value(10)}, {"V", Value(2)}},
                                   {{"R", Value("b")}, {"N", Value(1)}, {"V", Value(3)}},
                                   {{"R", Value("a")}, {"N", Value(2)}, {"V", Value(4)}},
                                   {{"R", Value("b")}, {"N", Value(-5)}, {"V", Value(5)}}});
  ASSERT_EQ(cross.CaptionRows(), 1);
  ASSERT_EQ(cross.CaptionColumns(), 1);
  EXPECT_EQ(Row(cross, 0), (Texts{"-", "N", "-", "-", "-", "-"}));
  EXPECT_EQ(Row(cross, 1), (Texts{"R", "-5", "1", "2", "10", "Grand total"}));
  EXPECT_EQ(Row(cross, 2), (Texts{"a", "-", "-", "5", "2", "7"}));
  EXPECT_EQ(Row(cross, 3), (Texts{"b", "5", "3", "-", "-", "8"}));
  EXPECT_EQ(Row(cross, 4), (Texts{"Grand total", "5", "3", "5", "2", "15"}));
  EXPECT_TRUE(cross.IsTotalColumn(5));
  EXPECT_TRUE(cross.IsTotalRow(4));
  EXPECT_FALSE(cross.IsTotalRow(2));
  // Outside the table: null.
  EXPECT_TRUE(cross.Cell(99, 0, 0).is_null());
  EXPECT_TRUE(cross.Cell(2, 2, 5).is_null());
}

TEST(CrossTableTest, FunctionsOverDetailsAndTotals) {
  std::vector<Record> records;
  for (auto [r, v] : std::vector<std::pair<const char*, int>>{{"x", 4}, {"x", 8}, {"y", 3}})
    records.push_back({{"R", Value(r)}, {"C", Value("c")}, {"V", Value(v)}});
  const TvtCross cross = Build({"S", "R", "C", "V+sum;V+count;V+min;V+max;V+avg"}, records);
  // Row x, the grand-total row; columns: caption (value 0 only), c, grand total.
  EXPECT_EQ(Row(cross, 2, 0), (Texts{"x", "12", "12"}));
  EXPECT_EQ(Row(cross, 2, 1), (Texts{"-", "2", "2"}));
  EXPECT_EQ(Row(cross, 2, 2), (Texts{"-", "4", "4"}));
  EXPECT_EQ(Row(cross, 2, 3), (Texts{"-", "8", "8"}));
  EXPECT_EQ(Row(cross, 2, 4), (Texts{"-", "6", "6"}));
  // Captions hold value 0 only.
  EXPECT_EQ(Row(cross, 4, 2), (Texts{"-", "3", "3"}));
  EXPECT_EQ(Row(cross, 4, 4), (Texts{"-", "5", "5"}));
}

TEST(CrossTableTest, SubtotalsFollowTheirGroups) {
  std::vector<Record> records;
  for (auto [a, b] : std::vector<std::pair<const char*, const char*>>{
           {"E", "s"}, {"W", "d"}, {"E", "b"}, {"W", "g"}})
    records.push_back({{"A", Value(a)}, {"B", Value(b)}, {"C", Value("c")}, {"V", Value(1)}});
  const TvtCross cross = Build({"S", "A+;B", "C", "V"}, records);
  std::vector<std::string> keys;
  for (int r = cross.CaptionRows() + 1; r < cross.RowCount(); ++r) keys.push_back(cross.RowKey(r));
  EXPECT_EQ(keys, (Texts{"E;b", "E;s", "E;+;+", "W;d", "W;g", "W;+;+", "W;g+;+"}));
  EXPECT_EQ(Row(cross, 4), (Texts{"-", "Total", "2", "2"}));
  EXPECT_EQ(Row(cross, 2), (Texts{"E", "b", "1", "1"}));
  EXPECT_EQ(Row(cross, 3), (Texts{"-", "s", "1", "1"}));
}

TEST(CrossTableTest, NoRecordsMakeNoColumns) {
  const TvtCross cross = Build({"S", "R", "C", "V"}, {});
  EXPECT_EQ(cross.ColumnCount(), 0);
  EXPECT_EQ(cross.RowCount(), 0);
}

}  // namespace
