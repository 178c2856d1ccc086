// The built zrviewer as a person at a terminal runs it: exit statuses and what it prints.
#include <gtest/gtest.h>

#include "support/tool_run.h"

namespace zr {
namespace {

testing_support::ToolResult run_viewer(const std::string& arguments) {
  return testing_support::run_command(std::string(ZR_VIEWER_PATH) + " " + arguments);
}

TEST(ZrviewerTest, HelpAndMalformedLines) {
  for (const char* asks : {"--help", "-h", "help", "save --help", "--ReportFile r.zrf -h"}) {
    auto help = run_viewer(asks);
    EXPECT_EQ(help.status, 0) << asks;
    EXPECT_TRUE(help.output.starts_with("usage: zrviewer")) << asks;
    EXPECT_NE(help.output.find("\n  --ReportFile URL "), std::string::npos);
  }
  // "--" ends the options: a NAME that starts with dashes is a name, not an option.
  auto ended = run_viewer("-- save 99 --help");
  EXPECT_EQ(ended.status, 2);
  EXPECT_TRUE(ended.output.starts_with("zrviewer: SaveImage failed: TYPE 99")) << ended.output;

  const std::pair<const char*, const char*> usage_cases[] = {
      {"", "zrviewer: no command given\n"},
      {"--ReportFile http://s/r.zrf", "zrviewer: no command given\n"},
      {"render", "zrviewer: unknown command 'render'\n"},
      {"save 0 a b", "zrviewer: save takes TYPE [NAME], not 3 argument(s)\n"},
  };
  for (const auto& [arguments, message] : usage_cases) {
    auto result = run_viewer(arguments);
    EXPECT_EQ(result.status, 64) << arguments;
    EXPECT_TRUE(result.output.starts_with(message)) << result.output;
  }
}

TEST(ZrviewerTest, ARefusedPropertyExitsWithTwo) {
  auto result = run_viewer("--TimeOut=soon preview");
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(result.output.starts_with("zrviewer: --TimeOut failed: Type mismatch"))
      << result.output;
}

}  // namespace
}  // namespace zr
