#include "engine/run/function_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/run/parser.h"

namespace zr {
namespace {

using Strings = std::vector<std::string>;

class FunctionSplitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    variables.SetVariable("Total", Value("SUM([Amount])"));
    variables.SetVariable("Self", Value("1 + [Self]"));
  }
  Strings split(const std::string& expression) {
    TvtFunctionSplitter splitter({"SUM", "count"}, &variables);
    splitter.Split(expression);
    return splitter.SplitTo;
  }
  TvtVariables variables;
};

TEST_F(FunctionSplitterTest, FindsCalls) {
  const struct {
    const char* expression;
    Strings calls;
  } cases[] = {
      {"SUM([a]) + count(b) * 2", {"SUM([a])", " count(b)"}},
      {"IF(SUM(x) > 0, COUNT(y), 0)", {"SUM(x)", "COUNT(y)"}},
      {"sum(SUM(x))", {"SUM(x)", "sum(SUM(x))"}},
      {"(SUM(a)) * 2", {"SUM(a)"}},
      {"[Total] * Total", {"SUM([Amount])", "SUM([Amount])"}},
      {"1 + [Total]", {"SUM([Amount])"}},
      {"AVG(a) + MAX(b)", {}},
      {"  'SUM(x)' + SUM(y)", {}},
      {"", {}},
      {"a ) SUM(b)", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(split(c.expression), c.calls);
  }
}

TEST_F(FunctionSplitterTest, Errors) {
  EXPECT_THROW(split("SUM(a"), UnbalancedArgumentsError);
  EXPECT_THROW(split("[Self]"), ZorelError);
}

}  // namespace
}  // namespace zr
