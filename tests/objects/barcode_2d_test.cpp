// QR Code, Data Matrix and PDF417: drawn through a raster canvas at several rotations and
// read back by independent readers, zbarimg for QR Code and libzxing for the other two;
// Korean text as UTF-8 or in the code page; texts the symbologies refuse.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "objects/barcode.h"
#include "objects/barcode_tools.h"
#include "objects/zxing_reader.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/codepage.h"
#include "platform/graphics/bitmap.h"

namespace zr {
namespace {

using testing_support::HaveProgram;
using testing_support::ReadWithZxing;
using testing_support::RunCommand;
using testing_support::ShellQuote;

constexpr int kMargin = 30;  // white around the drawing, beyond the symbol's own quiet zone

// `barcode` drawn turned by `angle` on white, in the middle of the picture (ZXing looks for
// a Data Matrix from the middle outwards), with `modul` pixels per module.
Bitmap Render(TvtBarcode barcode, double angle, int modul = 4) {
  barcode.Angle = angle;
  barcode.SetModul(modul);
  const double w = barcode.Width(), h = barcode.SymbolHeight();
  const double radians = angle * std::numbers::pi / 180;
  const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
  Bitmap bitmap(static_cast<int>(w * c + h * s) + 2 * kMargin,
                static_cast<int>(w * s + h * c) + 2 * kMargin, argb_from_color(0xFFFFFF));
  auto canvas = CairoCanvas::for_bitmap(bitmap);
  barcode.Left = kMargin;
  barcode.Top = kMargin;
  barcode.DrawBarcode(*canvas);
  canvas->flush();
  return bitmap;
}

std::string ReadWithZbar(const Bitmap& bitmap, const std::filesystem::path& png,
                         const std::string& options = "") {
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(const_cast<uint8_t*>(bitmap.data()), CAIRO_FORMAT_ARGB32,
                                          bitmap.width(), bitmap.height(), bitmap.stride());
  EXPECT_EQ(cairo_surface_write_to_png(surface, png.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
  std::string out =
      RunCommand("zbarimg --raw -q " + options + " " + ShellQuote(png.string()) + " 2>/dev/null");
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

TvtBarcode Make(int type, const std::string& text, bool utf8 = true) {
  TvtBarcode b;
  b.Typ = type;
  b.TextUtf8 = utf8;
  b.SetText(text);
  return b;
}

const std::string kKorean = "조렐 보고서 안녕하세요";  // UTF-8 in this file

TEST(Barcode2D, DrawnCodesReadBack) {
  if (!HaveProgram("zbarimg")) GTEST_SKIP() << "zbarimg is not installed";
  const std::filesystem::path png = std::filesystem::temp_directory_path() /
                                    ("zr_barcode_2d_" + std::to_string(getpid()) + ".png");
  struct Case {
    int type;
    std::string text;
  };
  const Case cases[] = {
      {bcCodeQR, "https://example.com/zorel?id=12345"},
      {bcCodeQR, kKorean},
      {bcCodeDataMatrix, kKorean},
      {bcCodeDataMatrix, "ZOREL-2D 0123456789"},
      {bcCodePDF417, "Zorel PDF417 symbol, 2026"},
      {bcCodePDF417, kKorean},
  };
  for (const Case& c : cases) {
    for (double angle : {0.0, 90.0, 180.0, 270.0, 30.0}) {
      // ZXing finds a PDF417 symbol only along the rows or columns of the picture.
      if (c.type == bcCodePDF417 && angle == 30) continue;
      SCOPED_TRACE(std::string(BarcodeTypeName(c.type)) + " " + c.text + " at " +
                   std::to_string(angle));
      // Turned by other than a right angle, a module's corners are rounded to pixels one by
      // one: larger modules keep that small.
      const Bitmap bitmap = Render(Make(c.type, c.text), angle, angle == 30 ? 10 : 4);
      if (c.type == bcCodeQR) {
        EXPECT_EQ(ReadWithZbar(bitmap, png), c.text);
      } else {
        const auto read = ReadWithZxing(bitmap);
        EXPECT_EQ(read.format, c.type == bcCodeDataMatrix ? "DataMatrix" : "PDF417");
        EXPECT_EQ(read.text, c.text);
      }
    }
  }
  std::filesystem::remove(png);
}

TEST(Barcode2D, KoreanTextInTheCodePage) {
  if (!HaveProgram("zbarimg")) GTEST_SKIP() << "zbarimg is not installed";
  const std::filesystem::path png = std::filesystem::temp_directory_path() /
                                    ("zr_barcode_cp_" + std::to_string(getpid()) + ".png");
  const std::string cp949 = utf8_to_ansi(kKorean, 949);
  ASSERT_NE(cp949, kKorean);
  // The code carries the code-page bytes themselves, marked as KS X 1001 (ECI 30), which
  // ZXing turns back into the text.
  for (int type : {bcCodeQR, bcCodeDataMatrix, bcCodePDF417}) {
    SCOPED_TRACE(BarcodeTypeName(type));
    const Bitmap bitmap = Render(Make(type, cp949, false), 0);
    const auto read = ReadWithZxing(bitmap);
    EXPECT_EQ(read.bytes, cp949);
    EXPECT_EQ(read.text, kKorean);
    // zbar knows no ECI 30; it gives the bytes as they are when asked.
    if (type == bcCodeQR) {
      EXPECT_EQ(ReadWithZbar(bitmap, png, "-Sbinary"), cp949);
    }
  }
  std::filesystem::remove(png);
}

TEST(Barcode2D, RefusedTextsNameTheSymbology) {
  struct Case {
    int type;
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {bcCodeQR, "", "QR Code: the text is empty"},
      {bcCodeDataMatrix, "", "Data Matrix: the text is empty"},
      {bcCodePDF417, "", "PDF417: the text is empty"},
      {bcCodeQR, std::string(3000, 'a'), "QR Code: the text is too long to encode (3000 bytes)"},
      {bcCodeDataMatrix, std::string(3000, 'a'),
       "Data Matrix: the text is too long to encode (3000 bytes)"},
      {bcCodePDF417, std::string(3000, 'a'), "PDF417: the text is too long to encode (3000 bytes)"},
      {bcCodeQR, std::string(100000, '1'),
       "QR Code: the text is too long to encode (100000 bytes)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TvtBarcode b = Make(c.type, c.text);
    try {
      b.Width();
      ADD_FAILURE() << "no error";
    } catch (const BarcodeError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    TraceCanvas canvas;
    EXPECT_THROW(b.DrawBarcode(canvas), BarcodeError);
  }
  EXPECT_EQ(BarcodeTypeName(bcCodeQR), "QR Code");
  EXPECT_EQ(BarcodeTypeName(bcCodePDF417), "PDF417");
  EXPECT_EQ(BarcodeTypeName(kAllBarcodeTypeCount), "");
  TvtBarcode unknown = Make(kAllBarcodeTypeCount, "1");
  EXPECT_THROW(unknown.Encode(), BarcodeError);
}

TEST(Barcode2D, SizeFollowsModulAndTheQuietZone) {
  // "HELLO" is a QR Code version 1: 21 modules and 4 on each side.
  TvtBarcode qr = Make(bcCodeQR, "HELLO");
  qr.SetModul(3);
  EXPECT_EQ(qr.Width(), (21 + 8) * 3);
  EXPECT_EQ(qr.SymbolHeight(), (21 + 8) * 3);
  // PDF417 rows are several modules high.
  TvtBarcode pdf = Make(bcCodePDF417, "HELLO");
  const barcode::ModuleMatrix m = pdf.Matrix();
  EXPECT_GT(m.total_height(), m.rows);
  EXPECT_EQ(pdf.SymbolHeight(), m.total_height() + 2 * m.quiet);
}

}  // namespace
}  // namespace zr
