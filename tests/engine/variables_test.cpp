#include "engine/model/variables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zr {
namespace {

std::vector<std::string> names(const TvtVariables& list) {
  std::vector<std::string> result;
  for (int i = 0; i < list.Count(); ++i) result.push_back(list.NameAt(i));
  return result;
}

TEST(VariablesTest, NamesIgnoreCaseAndStayUnique) {
  TvtVariables list;
  list.SetVariable("Total", Value(int32_t{1}));
  list.SetVariable("TOTAL", Value(int32_t{2}));
  list.SetVariable("Count", Value("x"));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.NameAt(0), "Total");  // the first spelling stays
  EXPECT_TRUE(list.GetVariable("total").identical(Value(int32_t{2})));
  EXPECT_EQ(list.IndexOf("count"), 1);
  EXPECT_EQ(list.IndexOf("Missing"), -1);
  EXPECT_TRUE(list.GetVariable("Missing").is_null());
}

TEST(VariablesTest, PositionalAccessOutOfRange) {
  TvtVariables list;
  list.SetVariable("a", Value("1"));
  for (int i : {-1, 1, 100}) {
    EXPECT_EQ(list.NameAt(i), "");
    EXPECT_TRUE(list.ValueAt(i).identical(Value(int32_t{0})));
    list.SetNameAt(i, "x");
    list.SetValueAt(i, Value("x"));
    list.Delete(i);
  }
  EXPECT_EQ(names(list), std::vector<std::string>{"a"});
  EXPECT_TRUE(list.ValueAt(0).identical(Value("1")));
}

TEST(VariablesTest, RenameAndDeleteKeepLookupsRight) {
  TvtVariables list;
  for (const char* name : {"a", "b", "c"}) list.SetVariable(name, Value(name));
  list.SetNameAt(0, "Z");
  list.Delete(1);
  EXPECT_EQ(names(list), (std::vector<std::string>{"Z", "c"}));
  EXPECT_EQ(list.IndexOf("z"), 0);
  EXPECT_EQ(list.IndexOf("a"), -1);
  EXPECT_EQ(list.IndexOf("C"), 1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.IndexOf("c"), -1);
}

TEST(VariablesTest, SortedList) {
  TvtVariables list;
  list.SetVariable("delta", Value(int32_t{4}));
  list.SetVariable("Bravo", Value(int32_t{2}));
  list.SetSorted(true);
  list.SetVariable("charlie", Value(int32_t{3}));
  list.SetVariable("ALPHA", Value(int32_t{1}));
  list.SetVariable("bravo", Value(int32_t{22}));
  EXPECT_EQ(names(list), (std::vector<std::string>{"ALPHA", "Bravo", "charlie", "delta"}));
  EXPECT_TRUE(list.GetVariable("BRAVO").identical(Value(int32_t{22})));
  list.SetNameAt(0, "echo");  // moves to its place
  EXPECT_EQ(names(list), (std::vector<std::string>{"Bravo", "charlie", "delta", "echo"}));
  EXPECT_EQ(list.IndexOf("Echo"), 3);
}

}  // namespace
}  // namespace zr
