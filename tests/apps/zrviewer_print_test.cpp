// zrviewer print against a CUPS server the test starts itself (CUPS_SERVER names its socket,
// as for every CUPS client): the form's printer when it is installed, else the default
// queue; a stopped or silent server is a clear Log line, not a hang. Skipped only where
// cupsd is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/private_cups_server.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::CupsJobRecord;
using testing_support::PrivateCupsServer;
using testing_support::run_command;
using testing_support::run_tool;
using Clock = std::chrono::steady_clock;

const std::string kPdfLaser = ZR_TEST_DATA_DIR "/printing/pdf_laser.ppd";

class ZrviewerPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PrivateCupsServer::installed()) GTEST_SKIP() << "cupsd is not installed";
    ASSERT_TRUE(server.running()) << "the private cupsd did not start:\n" << server.error_log();
    fs::remove_all(work);
    fs::create_directories(work);
  }
  void TearDown() override { fs::remove_all(work); }

  // Builds a one-page form naming `printer` and prints it with zrviewer.
  testing_support::ToolResult print(const std::string& printer, const std::string& env = "") {
    const fs::path json = work / "form.json";
    std::ofstream(json) << R"({"PrinterName": ")" << printer << R"(", "Pages": [{"Name": "Main",
      "Objects": [
        {"Class": "TvtBandView", "Name": "Title", "BandType": "Report title", "Top": 20,
         "Height": 40},
        {"Class": "TvtMemoView", "Name": "Text", "Left": 40, "Top": 24, "Width": 300,
         "Height": 30, "Memo": ["Printed by zrviewer"]}]}]})";
    const fs::path form = work / "form.zrf";
    auto built = run_tool("form build " + json.string() + " -o " + form.string());
    EXPECT_EQ(built.status, 0) << built.output;
    return run_command(env + " CUPS_SERVER=" + server.socket().string() +
                       " ZOREL_HOME=" + (work / "zorel").string() +
                       " " ZR_VIEWER_PATH " --Progress 1 --ReportFile " + form.string() + " print");
  }

  PrivateCupsServer server{
      {{"Office", kPdfLaser, "Test PDF Laser", true}, {"Second", kPdfLaser, "Test PDF Laser"}}};
  const fs::path work =
      fs::path(::testing::TempDir()) / ("zrviewer_print_" + std::to_string(getpid()));
};

TEST_F(ZrviewerPrintTest, PrintsOnTheFormsPrinterElseOnTheDefaultQueue) {
  auto run = print("Second");
  ASSERT_EQ(run.status, 0) << run.output;
  std::vector<CupsJobRecord> jobs = server.jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].printer, "Second");
  EXPECT_EQ(jobs[0].name, "Untitled");
  EXPECT_EQ(jobs[0].copies, 1);
  auto text = run_command("pdftotext " + jobs[0].document + " -");
  EXPECT_NE(text.output.find("Printed by zrviewer"), std::string::npos) << text.output;

  run = print("Not installed");
  ASSERT_EQ(run.status, 0) << run.output;
  jobs = server.jobs();
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[1].printer, "Office");

  // The user's default queue, as every CUPS client takes it.
  run = print("Not installed", "PRINTER=Second");
  ASSERT_EQ(run.status, 0) << run.output;
  jobs = server.jobs();
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_EQ(jobs[2].printer, "Second");
}

TEST_F(ZrviewerPrintTest, AStoppedOrSilentServerGivesAClearLog) {
  server.freeze();
  auto start = Clock::now();
  auto run = print("Office");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Log: Nothing was printed: the print server " +
                            server.socket().string() + " does not answer (1 pages prepared)"),
            std::string::npos)
      << run.output;
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
  server.thaw();

  server.stop();
  run = print("Office");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Log: Nothing was printed: the print server " +
                            server.socket().string() + " cannot be reached (1 pages prepared)"),
            std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace zr
