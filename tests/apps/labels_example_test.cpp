// The labels example through the viewer as a host runs it: GridMeta fills the grid, the
// report is saved as PDF, and the PDF carries the grid's columns over a continuation page and
// barcodes that an independent reader decodes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::run_command;
using testing_support::run_tool;

bool have(const std::string& program) {
  return run_command("command -v " + program).status == 0;
}

TEST(LabelsExample, GridMetaBarcodesAndShapesReachThePdf) {
  if (!have("pdftotext") || !have("pdftoppm")) GTEST_SKIP() << "poppler-utils missing";
  const fs::path work =
      fs::path(::testing::TempDir()) / ("labels_example_" + std::to_string(getpid()));
  fs::remove_all(work);
  fs::create_directories(work);
  const fs::path source = fs::path(ZR_EXAMPLES_DIR) / "labels";
  const std::string form = (work / "labels.zrf").string();
  auto built = run_tool("form build " + (source / "labels_form.json").string() + " -o " + form);
  ASSERT_EQ(built.status, 0) << built.output;
  const fs::path meta = work / "grid_meta.txt";
  fs::copy_file(source / "grid_meta.txt", meta);
  const std::string pdf = (work / "labels.pdf").string();
  auto run =
      run_command("ZOREL_HOME=" + (work / "zorel").string() + " " ZR_VIEWER_PATH " --ReportFile " +
                  form + " --dataFile " + (source / "data_page.html").string() +
                  " --GridMeta \"$(cat " + meta.string() + ")\" save 0 " + pdf);
  ASSERT_EQ(run.status, 0) << run.output;

  auto info = run_command("pdfinfo " + pdf);
  EXPECT_NE(info.output.find("Pages:           3"), std::string::npos) << info.output;
  // Page 2 holds the columns that fit, page 3 the quarter that did not.
  auto page2 = run_command("pdftotext -f 2 -l 2 " + pdf + " -");
  auto page3 = run_command("pdftotext -f 3 -l 3 " + pdf + " -");
  EXPECT_NE(page2.output.find("3rd quarter"), std::string::npos) << page2.output;
  EXPECT_EQ(page2.output.find("4th quarter"), std::string::npos) << page2.output;
  EXPECT_NE(page3.output.find("4th quarter"), std::string::npos) << page3.output;
  EXPECT_NE(page3.output.find("132"), std::string::npos) << page3.output;

  if (have("zbarimg")) {
    const std::string png = (work / "page").string();
    run_command("pdftoppm -r 200 -f 1 -l 1 -png " + pdf + " " + png);
    auto codes = run_command("zbarimg -q --raw " + png + "-1.png 2>/dev/null");
    for (const char* code : {"8801234000017", "8801234000024", "8801234000031"})
      EXPECT_NE(codes.output.find(code), std::string::npos) << codes.output;
  }
  fs::remove_all(work);
}

}  // namespace
}  // namespace zr
