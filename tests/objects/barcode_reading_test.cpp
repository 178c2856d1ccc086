// Barcodes drawn on a raster canvas and read back by an independent reader (zbarimg), at two
// rotations, with and without check characters.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "objects/barcode.h"
#include "objects/barcode_tools.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/graphics/bitmap.h"

namespace zr {
namespace {

using testing_support::HaveProgram;
using testing_support::RunCommand;
using testing_support::ShellQuote;

constexpr int kQuiet = 40;  // quiet zone around the symbol, in pixels

// Draws `barcode` turned by `angle` on white with a quiet zone and saves it as PNG.
void RenderPng(TvtBarcode barcode, double angle, const std::filesystem::path& path) {
  barcode.Angle = angle;
  barcode.SetModul(2);
  barcode.Height = 80;
  const int32_t w = barcode.Width();
  const bool upright = angle == 90 || angle == 270;
  const int width = (upright ? barcode.Height : w) + 2 * kQuiet;
  const int height = (upright ? w : barcode.Height) + 2 * kQuiet;
  Bitmap bitmap(width, height, argb_from_color(0xFFFFFF));
  {
    auto canvas = CairoCanvas::for_bitmap(bitmap);
    barcode.Left = kQuiet;
    barcode.Top = kQuiet;
    barcode.DrawBarcode(*canvas);
    canvas->flush();
  }
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      bitmap.data(), CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(), bitmap.stride());
  ASSERT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
}

std::string Decode(const std::filesystem::path& png) {
  std::string out = RunCommand("zbarimg --raw -q -Supca.enable -Supce.enable " +
                               ShellQuote(png.string()) + " 2>/dev/null");
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

struct ReadCase {
  int type;
  std::string text;
  bool checksum;
  std::string read;  // what the reader gives back
};

TEST(BarcodeReading, ZbarReadsWhatIsDrawn) {
  if (!HaveProgram("zbarimg")) GTEST_SKIP() << "zbarimg is not installed (scripts/setup)";
  const ReadCase cases[] = {
      {bcCode_2_5_interleaved, "12345678", false, "12345678"},
      {bcCode39, "ZOREL-39", false, "ZOREL-39"},
      // Z35 O24 R27 E14 L21 -36 3 9: 169 mod 43 = 40, "/".
      {bcCode39, "ZOREL-39", true, "ZOREL-39/"},
      {bcCode39Extended, "Ab!", false, "A+B/A"},
      {bcCode128A, "ZOREL 128", false, "ZOREL 128"},
      {bcCode128B, "Zorel 128b", false, "Zorel 128b"},
      {bcCode128C, "12345678", false, "12345678"},
      {bcCode93, "ZOREL 93", false, "ZOREL 93"},
      {bcCode93Extended, "Zorel93", false, "Zorel93"},
      {bcCodeCodabar, "40156", false, "A40156B"},
      {bcCodeEAN8, "5512345", true, "55123457"},
      {bcCodeEAN8, "55123457", false, "55123457"},
      {bcCodeEAN13, "590123412345", true, "5901234123457"},
      {bcCodeEAN13, "5901234123457", false, "5901234123457"},
      {bcCodeUPC_A, "036000291450", true, "036000291452"},
      {bcCodeUPC_A, "036000291452", false, "036000291452"},
      {bcCodeUPC_E0, "1234560", true, "01234565"},
      {bcCodeEAN128C, "0112345678901231", false, "0112345678901231"},
  };
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("zr_barcode_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  for (const ReadCase& c : cases) {
    for (double angle : {0.0, 90.0}) {
      SCOPED_TRACE(std::string(BarcodeTypeName(c.type)) + " " + c.text + " at " +
                   std::to_string(static_cast<int>(angle)));
      TvtBarcode b;
      b.Typ = c.type;
      b.SetText(c.text);
      b.Checksum = c.checksum;
      const std::filesystem::path png = dir / "code.png";
      RenderPng(b, angle, png);
      EXPECT_EQ(Decode(png), c.read);
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zr
