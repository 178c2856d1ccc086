#include <gtest/gtest.h>

#include "support/tool_run.h"

namespace zr {
namespace {

using testing_support::run_tool;

TEST(FontToolTest, PrintsFileMetricsAndExtent) {
  auto result = run_tool("font Arial --height -16 --bold --text 'Wa'");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("LiberationSans-Bold.ttf"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("em size: 16\n"), std::string::npos);
  EXPECT_NE(result.output.find("text extent: "), std::string::npos);
  // Korean names and text come in as UTF-8 from the command line.
  result = run_tool("font '굴림' --height 20 --text '한글'");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("NanumGothic.ttf"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("height: 20\n"), std::string::npos);
}

TEST(FontToolTest, RejectsBadArguments) {
  EXPECT_EQ(run_tool("font").status, 1);
  EXPECT_EQ(run_tool("font Arial --height x").status, 1);
  EXPECT_EQ(run_tool("font Arial --size 3").status, 1);
}

}  // namespace
}  // namespace zr
