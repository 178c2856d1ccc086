// The built zrtool as a person at a terminal runs it: help in every form, "--" before an
// argument that starts with "-", and files of the wrong kind named for what they are not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::run_tool;

TEST(ZrtoolTest, HelpInEveryForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"--help", "usage: zrtool COMMAND [ARGS]\n"},
      {"-h", "usage: zrtool COMMAND [ARGS]\n"},
      {"help", "usage: zrtool COMMAND [ARGS]\n"},
      {"eval --help", "usage: zrtool eval EXPR"},
      {"page PAGE -h", "usage: zrtool page PAGE"},
      {"help prepare", "usage: zrtool prepare FORM.zrf"},
  };
  for (const auto& [arguments, start] : cases) {
    auto run = run_tool(arguments);
    EXPECT_EQ(run.status, 0) << arguments;
    EXPECT_TRUE(run.output.starts_with(start)) << arguments << "\n" << run.output;
  }
  // Without a command, or with an unknown one, the usage is an error.
  EXPECT_EQ(run_tool("").status, 1);
  EXPECT_EQ(run_tool("bogus").status, 1);
  // After "--" even "--help" is an argument.
  EXPECT_EQ(run_tool("eval -- --help").status, 1);
}

TEST(ZrtoolTest, DoubleDashEndsTheOptions) {
  auto run = run_tool("eval -- '-2 * 3'");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "-6 (Double)\n");
  run = run_tool("eval --var n=4 -- '-n'");
  EXPECT_EQ(run.output, "-4 (Integer)\n");
  auto forgot = run_tool("eval '-2 * 3'");
  EXPECT_EQ(forgot.status, 1);
  EXPECT_EQ(forgot.output,
            "zrtool eval: unknown option -2 * 3 (an argument that starts with - goes after --)\n");
}

class ZrtoolFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(work);
    write("page.zrf", "<html><body>Not a form</body></html>");
    write("empty.zrf", "");
    write("form.json", R"({"Pages": [{"Objects": [
        {"Class": "TvtBandView", "Name": "Title", "BandType": "Report title", "Height": 20},
        {"Class": "TvtMemoView", "Name": "Text", "Width": 200, "Height": 18, "Memo": ["x"]}]}]})");
    auto built = run_tool("form build " + path("form.json") + " -o " + path("form.zrf"));
    ASSERT_EQ(built.status, 0) << built.output;
    std::ifstream in(path("form.zrf"), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    write("truncated.zrf", bytes.str().substr(0, 100));
  }
  void TearDown() override { fs::remove_all(work); }

  std::string path(const std::string& name) const { return (work / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(work / name, std::ios::binary) << bytes;
  }

  const fs::path work =
      fs::path(::testing::TempDir()) / ("zrtool_files_" + std::to_string(getpid()));
};

TEST_F(ZrtoolFilesTest, FilesOfTheWrongKindSayWhatTheyAreNot) {
  const std::pair<std::string, std::string> cases[] = {
      {"form dump " + path("page.zrf"),
       "zrtool form: " + path("page.zrf") + " is not a report form (unsupported format)\n"},
      {"form dump " + path("truncated.zrf"),
       "zrtool form: " + path("truncated.zrf") + " is not a report form (damaged at offset "},
      {"prepare " + path("empty.zrf") + " -o " + path("out.zrw"),
       "zrtool prepare: " + path("empty.zrf") + " is not a report form (empty file)\n"},
      {"prepare " + path("page.zrf") + " -o " + path("out.zrw"),
       "zrtool prepare: " + path("page.zrf") + " is not a report form (unsupported format)\n"},
      {"render " + path("form.zrf") + " --page 1 -o " + path("page.png"),
       "zrtool render: " + path("form.zrf") + " is not a prepared report ("},
      {"prepared dump " + path("form.zrf"),
       "zrtool prepared: " + path("form.zrf") + " is not a prepared report ("},
  };
  for (const auto& [arguments, start] : cases) {
    auto run = run_tool(arguments);
    EXPECT_EQ(run.status, 1) << arguments;
    EXPECT_TRUE(run.output.starts_with(start)) << arguments << "\n" << run.output;
    EXPECT_EQ(run.output.find("Unsupported VTF format"), std::string::npos) << run.output;
  }
}

}  // namespace
}  // namespace zr
