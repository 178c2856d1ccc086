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

// The tool says whether the face itself is installed, and what stands in when it is not.
TEST(FontToolTest, SaysWhenAFaceIsNotInstalled) {
  const std::pair<const char*, const char*> cases[] = {
      {"'Liberation Sans'", "\ninstalled: yes\n"},
      {"Arial", "\ninstalled: no; stands in: \"Liberation Sans\"\n"},
      {"NoSuchFace",
       "\ninstalled: no; nothing answers to the name, fallback for character set 1: "
       "\"NanumGothic\"\n"},
      {"NoSuchFace --charset 0",
       "\ninstalled: no; nothing answers to the name, fallback for "
       "character set 0: \"Liberation Sans\"\n"},
  };
  for (const auto& [arguments, line] : cases) {
    auto result = run_tool(std::string("font ") + arguments);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find(line), std::string::npos) << arguments << "\n" << result.output;
  }
}

TEST(FontToolTest, RejectsBadArguments) {
  EXPECT_EQ(run_tool("font").status, 1);
  EXPECT_EQ(run_tool("font Arial --height x").status, 1);
  EXPECT_EQ(run_tool("font Arial --size 3").status, 1);
}

}  // namespace
}  // namespace zr
