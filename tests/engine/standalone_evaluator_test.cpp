#include "engine/run/standalone_evaluator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "engine/run/interpreter.h"
#include "platform/errors.h"
#include "support/tool_run.h"

namespace zr {
namespace {

TEST(StandaloneEvaluatorTest, NamesResolveToVariablesThenConstantsThenFail) {
  HeadlessUi ui(nullptr);
  StandaloneEvaluator evaluator(ui);
  evaluator.variables().SetVariable("Price", Value(21));
  EXPECT_EQ(evaluator.Evaluate("price * 2").to_int(), 42);
  EXPECT_EQ(evaluator.Evaluate("mb_YesNo").to_int(), 4);
  // A string meeting a number is read as a number; STR keeps text.
  EXPECT_EQ(evaluator.Evaluate("[Price] + FORMATINT(3, 7)").to_int(), 28);
  EXPECT_EQ(evaluator.Evaluate("STR([Price]) + FORMATINT(3, 7)").to_string(), "21  7");
  try {
    evaluator.Evaluate("missing + 1");
    FAIL() << "no error";
  } catch (const ZorelError& e) {
    EXPECT_STREQ(e.what(), "Undefined symbol \"MISSING\"");
  }
  EXPECT_THROW(evaluator.Evaluate("NOSUCHFUNCTION(1)"), ZorelError);
}

TEST(StandaloneEvaluatorTest, ScriptsAssignVariablesAndFunctionsAssignThroughTheInterpreter) {
  HeadlessUi ui(nullptr);
  StandaloneEvaluator evaluator(ui);
  auto errors = evaluator.RunScript({"begin", "  i := 0; s := '';", "  while i < 3 do",
                                     "  begin i := i + 1; s := s + STR(i) end;",
                                     "  a := 1; b := 2; SWAP(a, b)", "end"});
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(evaluator.variables().GetVariable("I").to_int(), 3);
  EXPECT_EQ(evaluator.variables().GetVariable("s").to_string(), "123");
  EXPECT_EQ(evaluator.variables().GetVariable("a").to_int(), 2);
  EXPECT_EQ(evaluator.RunScript({"begin if 1 x := 2 end"}).size(), 1u);
  EXPECT_THROW(evaluator.RunScript({"begin 10: x := 1; goto 10 end"}, 1000), ScriptStoppedError);
}

TEST(EvalToolTest, PrintsValuesWithTheirKindsAndFailsClearly) {
  using testing_support::run_tool;
  auto sum = run_tool("eval '2 + 3 * 4'");
  EXPECT_EQ(sum.status, 0);
  EXPECT_EQ(sum.output, "14 (Double)\n");
  EXPECT_EQ(run_tool("eval \"'한' + '글'\"").output, "한글 (String)\n");
  EXPECT_EQ(run_tool("eval 'price * 2' --var price=21").output, "42 (Double)\n");

  std::string script = ::testing::TempDir() + "eval_" + std::to_string(getpid()) + ".txt";
  std::ofstream(script) << "begin\n  n := 2;\n  t := '가' + STR(n)\nend\n";
  auto run = run_tool("eval --script " + script + " 'n + 1'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, "n = 2 (Double)\nt = 가2 (String)\n3 (Double)\n");

  auto undefined = run_tool("eval 'nope + 1'");
  EXPECT_EQ(undefined.status, 1);
  EXPECT_EQ(undefined.output, "zrtool eval: Undefined symbol \"NOPE\"\n");
  EXPECT_EQ(run_tool("eval \"COPY('a'\"").output,
            "zrtool eval: the parentheses of a function call do not balance\n");
  std::ofstream(script) << "begin if 1 x := 2 end";
  auto bad = run_tool("eval --script " + script);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.output, "Line 1/12: Need \"then\" here\n");
}

}  // namespace
}  // namespace zr
