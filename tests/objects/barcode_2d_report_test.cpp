// Two-dimensional codes on a form (tests/data/forms/codes_2d.json): built, prepared and drawn
// by zrtool, the page read back by zbarimg and ZXing; texts the symbologies refuse end the
// preparation with the object named in the report's error text.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "objects/barcode_tools.h"
#include "objects/zxing_reader.h"
#include "platform/codepage.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

class Barcode2DReport : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir);
  }
  const fs::path dir =
      fs::temp_directory_path() / ("zr_barcode_2d_report_" + std::to_string(getpid()));
};

// The part (x, y, width, height) of a PNG page as a bitmap.
Bitmap Crop(const fs::path& png, int x, int y, int width, int height) {
  cairo_surface_t* page = cairo_image_surface_create_from_png(png.c_str());
  Bitmap part(width, height, argb_from_color(0xFFFFFF));
  cairo_surface_t* target = cairo_image_surface_create_for_data(
      part.data(), CAIRO_FORMAT_ARGB32, part.width(), part.height(), part.stride());
  cairo_t* cr = cairo_create(target);
  cairo_set_source_surface(cr, page, -x, -y);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(target);
  cairo_surface_destroy(page);
  return part;
}

TEST_F(Barcode2DReport, PreparedPageCarriesReadableCodes) {
  if (!::testing_support::HaveProgram("zbarimg")) GTEST_SKIP() << "zbarimg is not installed";
  const std::string form = (dir / "form.zrf").string();
  const std::string prepared = (dir / "form.zrw").string();
  const fs::path png = dir / "page.png";
  auto run = testing_support::run_tool(std::string("form build ") + ZR_TEST_DATA_DIR +
                                       "/forms/codes_2d.json -o " + form);
  ASSERT_EQ(run.status, 0) << run.output;
  run = testing_support::run_tool("prepare " + form + " -o " + prepared);
  ASSERT_EQ(run.status, 0) << run.output;
  run = testing_support::run_tool("render " + prepared + " --page 1 -o " + png.string());
  ASSERT_EQ(run.status, 0) << run.output;

  // The QR Code carries its evaluated text as UTF-8 (the default).
  EXPECT_EQ(::testing_support::RunCommand("zbarimg -q --raw " + png.string() + " 2>/dev/null"),
            "https://example.com/조렐\n");
  // The Data Matrix stands turned by 90 degrees.
  const auto matrix = ::testing_support::ReadWithZxing(Crop(png, 280, 10, 120, 120));
  EXPECT_EQ(matrix.format, "DataMatrix");
  EXPECT_EQ(matrix.text, "DM 2026");
  // The PDF417 symbol's setting asks for the code page: its bytes are CP949.
  const auto stack = ::testing_support::ReadWithZxing(Crop(png, 20, 180, 320, 100));
  EXPECT_EQ(stack.format, "PDF417");
  EXPECT_EQ(stack.text, "PDF417 조렐");
  EXPECT_EQ(stack.bytes, utf8_to_ansi("PDF417 조렐", 949));
}

TEST_F(Barcode2DReport, RefusedTextsAreReportedWithTheObject) {
  struct Case {
    std::string memo;  // JSON string
    int type;
    std::string message;
  };
  const Case cases[] = {
      {"[Copy('abc', 5, 1)]", 23, "Object: Code | QR Code: the text is empty"},
      {"", 24, "Object: Code | Data Matrix: the text is empty"},
      {std::string(2000, 'x'), 25,
       "Object: Code | PDF417: the text is too long to encode (2000 bytes)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const fs::path json = dir / "refused.json";
    std::ofstream(json) << R"({"Pages": [{"Name": "Main", "Objects": [
        {"Class": "TvtBandView", "Name": "Title", "BandType": "Report title", "Top": 20, "Height": 100},
        {"Class": "TvtBarCodeView", "Name": "Code", "Left": 40, "Top": 30, "Width": 10, "Height": 10,
         "Memo": [")" << c.memo
                        << R"("], "BarType": )" << c.type << "}]}]}";
    const std::string form = (dir / "refused.zrf").string();
    auto run = testing_support::run_tool("form build " + json.string() + " -o " + form);
    ASSERT_EQ(run.status, 0) << run.output;
    run = testing_support::run_tool("prepare " + form + " -o " + (dir / "refused.zrw").string());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
  }
}

}  // namespace
}  // namespace zr
