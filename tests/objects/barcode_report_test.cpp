// A form with a barcode built, prepared and rendered by zrtool, and the page read back by an
// independent reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "objects/barcode_tools.h"
#include "support/tool_run.h"

namespace zr {
namespace {

TEST(BarcodeReport, PreparedPageCarriesAReadableCode) {
  if (!::testing_support::HaveProgram("zbarimg")) GTEST_SKIP() << "zbarimg is not installed";
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("zr_barcode_report_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string form = (dir / "form.zrf").string();
  const std::string prepared = (dir / "form.zrw").string();
  const std::string png = (dir / "page.png").string();
  auto run = testing_support::run_tool(std::string("form build ") + ZR_TEST_DATA_DIR +
                                       "/forms/add_in_objects.json -o " + form);
  ASSERT_EQ(run.status, 0) << run.output;
  run = testing_support::run_tool("prepare " + form + " -o " + prepared + " --dump");
  ASSERT_EQ(run.status, 0) << run.output;
  // The expression is evaluated into the prepared page; the check digit comes with drawing.
  EXPECT_NE(run.output.find("line \"590123412345\""), std::string::npos) << run.output;
  run = testing_support::run_tool("render " + prepared + " --page 1 -o " + png);
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(::testing_support::RunCommand("zbarimg -q --raw " + png + " 2>/dev/null"),
            "5901234123457\n");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zr
