// zrviewer against a loopback web server, as a host page drives the control: the bundled
// sales example is downloaded, prepared and saved; failures of a run show in Log and in the
// exit status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/http_server.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::HttpTestServer;
using testing_support::run_command;
using testing_support::run_tool;

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ZrviewerRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path form = work / "sales.zrf";
    auto built = run_tool("form build " + std::string(ZR_EXAMPLES_DIR) +
                          "/sales/sales_form.json -o " + form.string());
    ASSERT_EQ(built.status, 0) << built.output;
    server.add("/sales.zrf", read_text(form), "application/octet-stream");
    server.add("/sales.html", read_text(fs::path(ZR_EXAMPLES_DIR) / "sales" / "data_page.html"));
    server.add_status("/missing.zrf", 404);
  }
  void TearDown() override { fs::remove_all(work); }

  // zrviewer with its work folder inside the test's folder.
  testing_support::ToolResult viewer(const std::string& arguments) {
    return run_command("ZOREL_HOME=" + (work / "zorel").string() + " " ZR_VIEWER_PATH " " +
                       arguments);
  }
  std::string sales() const {
    return "--ReportFile " + server.url("/sales.zrf") + " --dataFile " + server.url("/sales.html");
  }

  HttpTestServer server;
  const fs::path work =
      fs::path(::testing::TempDir()) / ("zrviewer_run_" + std::to_string(getpid()));
};

TEST_F(ZrviewerRunTest, SavesTheSalesExampleAsPdf) {
  const fs::path pdf = work / "out" / "매출.pdf";  // a missing folder is created
  auto run = viewer(sales() + " --Progress 1 save 0 " + pdf.string());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "Saved " + pdf.string() + "\n");
  auto check = run_command("qpdf --check " + pdf.string());
  EXPECT_EQ(check.status, 0) << check.output;
  auto text = run_command("pdftotext " + pdf.string() + " -");
  for (const char* line : {"지역 합계 판매 16건 21,042,500", "(주)조렐 영업관리팀"})
    EXPECT_NE(text.output.find(line), std::string::npos) << line << "\n" << text.output;

  // Without a name the file goes to the work folder under the type's default name.
  ASSERT_EQ(viewer(sales() + " save 0").status, 0);
  EXPECT_TRUE(fs::exists(work / "zorel" / "ZorelImage.pdf"));
}

TEST_F(ZrviewerRunTest, RunFailuresShowInLogAndTheExitStatus) {
  auto refused = viewer(sales() + " --Acl 1 --publ 1 preview");
  EXPECT_EQ(refused.status, 1);
  // The message box is shown whatever publ says; Log repeats the text.
  EXPECT_NE(refused.output.find("안내: 권한이 없습니다."), std::string::npos) << refused.output;
  EXPECT_NE(refused.output.find("Log: 권한이 없습니다.\n"), std::string::npos) << refused.output;

  auto missing = viewer("--ReportFile " + server.url("/missing.zrf") + " preview");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("Log: "), std::string::npos) << missing.output;

  auto prepared = viewer(sales() + " --Progress 1 preview");
  EXPECT_EQ(prepared.status, 0) << prepared.output;
}

// A form whose title band runs a script that never ends.
constexpr const char* kEndlessForm = R"({"Pages": [{"Objects": [
  {"Class": "TvtBandView", "Name": "TitleBand", "BandType": "Report title", "Top": 40,
   "Height": 30, "Script": ["begin", "  while 1 = 1 do i := 1", "end"]},
  {"Class": "TvtMemoView", "Name": "Title", "Left": 40, "Top": 44, "Width": 200, "Height": 20,
   "Memo": ["never shown"]}]}]})";

TEST_F(ZrviewerRunTest, TimeLimitEndsTheRunWithLogAndStatusOne) {
  const fs::path source = work / "endless.json";
  std::ofstream(source) << kEndlessForm;
  const fs::path form = work / "endless.zrf";
  auto built = run_tool("form build " + source.string() + " -o " + form.string());
  ASSERT_EQ(built.status, 0) << built.output;
  server.add("/endless.zrf", read_text(form), "application/octet-stream");
  server.add_slow("/hangs.zrf");

  struct Case {
    const char* what;
    std::string arguments;
  } cases[] = {
      // The progress window is cancelled when the time is up, and the script stops.
      {"endless script", "--ReportFile " + server.url("/endless.zrf") + " preview"},
      // Nothing stops a download that hangs: the run is ended a moment later.
      {"hanging download", "--ReportFile " + server.url("/hangs.zrf") + " preview"},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    auto run = viewer("--time-limit 0.5 " + c.arguments);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.status, 1) << c.what << "\n" << run.output;
    EXPECT_NE(run.output.find("Log: Time limit of 0.5 s reached\n"), std::string::npos)
        << c.what << "\n"
        << run.output;
    EXPECT_LT(took, std::chrono::seconds(20)) << c.what;
  }
}

}  // namespace
}  // namespace zr
