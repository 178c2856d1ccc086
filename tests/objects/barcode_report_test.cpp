// A form with a barcode built, prepared and rendered by zrtool, and the page read back by an
// independent reader.
#include <cairo.h>
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

  // The other add-in objects of the page, as the preview draws them.
  cairo_surface_t* page = cairo_image_surface_create_from_png(png.c_str());
  ASSERT_EQ(cairo_surface_status(page), CAIRO_STATUS_SUCCESS);
  const uint8_t* data = cairo_image_surface_get_data(page);
  const int stride = cairo_image_surface_get_stride(page);
  // RGB as 0xRRGGBB.
  auto rgb = [&](int x, int y) {
    return reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
  };
  EXPECT_EQ(rgb(340, 48), 0xFFFF00u);  // the ellipse's yellow fill
  EXPECT_EQ(rgb(301, 29), 0xFFFFFFu);  // outside the ellipse, inside its box
  EXPECT_EQ(rgb(430, 60), 0x0000FFu);  // the triangle's blue fill
  int green = 0, marks_in_late = 0;
  for (int y = 30; y < 58; ++y)
    for (int x = 502; x < 528; ++x) green += rgb(x, y) == 0x008000u ? 1 : 0;
  for (int y = 33; y < 54; ++y)  // inside the 2-pixel frame
    for (int x = 555; x < 575; ++x) marks_in_late += rgb(x, y) != 0xFFFFFFu ? 1 : 0;
  EXPECT_GT(green, 20);                 // "Paid": 1 < 2 shows the green check mark
  EXPECT_EQ(marks_in_late, 0);          // "Late": 1 > 2 shows none
  EXPECT_EQ(rgb(350, 100), 0xFFFFE0u);  // the rounded box's body
  EXPECT_EQ(rgb(455, 125), 0x808080u);  // and its shadow
  cairo_surface_destroy(page);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zr
