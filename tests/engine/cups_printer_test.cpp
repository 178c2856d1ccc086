// The printer layer over a real CUPS server: a private cupsd, started for the test on its own
// socket with two printers described by PPD files. Skipped where cupsd is not installed.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/printer/printer.h"
#include "platform/printing/cups_printer_system.h"
#include "support/private_cups_server.h"

namespace zr {
namespace {

using testing_support::PrivateCupsServer;

class CupsPrinters : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PrivateCupsServer::installed()) GTEST_SKIP() << "cupsd is not installed";
    ASSERT_TRUE(server.running()) << "the private cupsd did not start:\n" << server.error_log();
  }

  PrivateCupsServer server{
      {{"Laser", ZR_TEST_DATA_DIR "/printing/laser.ppd", "Test Laser 600", true},
       {"Label", ZR_TEST_DATA_DIR "/printing/label.ppd", "Test Label 203"}}};
  CupsPrinterSystem system{server.socket().string(), 5000};
};

TEST_F(CupsPrinters, ReportsPapersMarginsSourcesAndResolution) {
  std::vector<std::string> names = system.printer_names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Label", "Laser"}));
  EXPECT_EQ(system.default_printer(), "Laser");

  std::optional<PrinterCapabilities> laser = system.capabilities("Laser");
  ASSERT_TRUE(laser.has_value());
  EXPECT_EQ(laser->driver, "Test Laser 600");
  ASSERT_EQ(laser->papers.size(), 3u);
  ASSERT_GE(laser->default_paper, 0);
  const PrinterPaper& a4 = laser->papers[static_cast<size_t>(laser->default_paper)];
  EXPECT_EQ(a4.name, "iso_a4_210x297mm");
  EXPECT_EQ(a4.margins, (PaperMargins{42, 42, 42, 42}));  // 12 points
  EXPECT_EQ(laser->sources, (std::vector<std::string>{"tray-1", "manual"}));
  EXPECT_EQ(laser->dpi_x, 600);

  std::optional<PrinterCapabilities> label = system.capabilities("Label");
  ASSERT_TRUE(label.has_value());
  ASSERT_EQ(label->papers.size(), 1u);
  EXPECT_EQ(label->papers[0].width, 1016);
  EXPECT_EQ(label->papers[0].height, 1524);
  EXPECT_EQ(label->dpi_x, 203);
  EXPECT_FALSE(system.capabilities("Plotter").has_value());
}

TEST_F(CupsPrinters, DriveTheEnginePrinter) {
  TvtPrinter printer(system);
  printer.SetPrinter();
  ASSERT_EQ(printer.printers().size(), 3u);
  EXPECT_EQ(printer.printers().back(), "Virtual printer");
  EXPECT_EQ(printer.device(), "Laser");
  EXPECT_EQ(printer.paper_code(), kPaperA4);
  EXPECT_EQ(printer.bin_names(), (std::vector<std::string>{"", "tray-1", "manual"}));

  // The PPD's A4 is 595 x 842 points: 209.9 mm wide.
  PrinterInfo info;
  printer.FillPrnInfo(info);
  EXPECT_EQ(info, (PrinterInfo{4958, 7016, 757, 1071, 99, 99, 15, 15, 4760, 6818, 727, 1041}));

  printer.SetPrinterInfo(8, 0, 0, PrinterOrientation::Landscape, -1, false);
  EXPECT_EQ(printer.paper_code(), 8);
  EXPECT_EQ(printer.paper_width(), 4202);
  EXPECT_EQ(printer.paper_height(), 2970);

  int label = printer.printers()[0] == "Label" ? 0 : 1;
  printer.SetPrinterIndex(label);
  EXPECT_EQ(printer.device(), "Label");
  EXPECT_EQ(printer.paper_code(), kPaperCustom);
  printer.FillPrnInfo(info);
  EXPECT_EQ(info.device_page_width, 812);
  EXPECT_EQ(info.device_offset_x, 0);
}

}  // namespace
}  // namespace zr
