#include "engine/printer/printer.h"

#include <gtest/gtest.h>

#include "engine/locale/locale_strings.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/printing/memory_printer_system.h"

namespace zr {

void PrintTo(const PrinterInfo& i, std::ostream* os) {
  *os << "{dev " << i.device_page_width << "x" << i.device_page_height << " px " << i.page_width
      << "x" << i.page_height << " dev off " << i.device_offset_x << "," << i.device_offset_y
      << " off " << i.offset_x << "," << i.offset_y << " dev printable " << i.device_printable_width
      << "x" << i.device_printable_height << " printable " << i.printable_width << "x"
      << i.printable_height << "}";
}

namespace {

using enum PrinterOrientation;

// A 600 dpi office laser with three trays and a paper the table does not know, and a
// 203 dpi label printer that cannot turn pages.
PrinterCapabilities office_laser() {
  PrinterCapabilities caps;
  caps.driver = "Generic PCL Laser";
  caps.port = "socket://office";
  caps.papers = {{"iso_a4_210x297mm", 2100, 2970, {42, 42, 42, 42}},
                 {"na_letter_8.5x11in", 2159, 2794, {30, 50, 40, 60}},
                 {"iso_a3_297x420mm", 2970, 4200, {42, 42, 42, 42}},
                 {"oddsize_100x150mm", 1000, 1500, {20, 20, 20, 20}}};
  caps.default_paper = 0;
  caps.sources = {"auto", "tray-1", "manual"};
  caps.default_source = 0;
  caps.dpi_x = caps.dpi_y = 600;
  return caps;
}

PrinterCapabilities label_printer() {
  PrinterCapabilities caps;
  caps.papers = {{"oe_4x6-label_4x6in", 1016, 1524, {0, 0, 0, 0}}};
  caps.default_paper = 0;
  caps.dpi_x = caps.dpi_y = 203;
  caps.landscape = false;
  return caps;
}

class TwoPrinters : public ::testing::Test {
 protected:
  TwoPrinters() {
    system.add_printer("Office Laser", office_laser());
    system.add_printer("Label Printer", label_printer());
    system.set_default_printer("Office Laser");
    printer.SetPrinter();
  }
  PrinterInfo fill() const {
    PrinterInfo info;
    printer.FillPrnInfo(info);
    return info;
  }

  MemoryPrinterSystem system;
  TvtPrinter printer{system};
};

TEST(VirtualPrinter, StandsAloneWithoutSystemPrinters) {
  MemoryPrinterSystem empty;
  TvtPrinter printer(empty);
  printer.SetPrinter();
  EXPECT_EQ(printer.printers(), std::vector<std::string>{"Virtual printer"});
  EXPECT_TRUE(printer.is_virtual());
  EXPECT_EQ(printer.virtual_printer_index(), 0);
  EXPECT_EQ(printer.paper_code(), kPaperA4);
  EXPECT_EQ(printer.paper_width(), 2100);
  EXPECT_EQ(printer.paper_height(), 2970);

  // The device values are not the virtual printer's to set.
  PrinterInfo info{7, 7, 0, 0, 7, 7, 0, 0, 7, 7, 0, 0};
  printer.FillPrnInfo(info);
  EXPECT_EQ(info, (PrinterInfo{7, 7, 758, 1071, 7, 7, 18, 18, 7, 7, 722, 1035}));

  printer.SetPrinterInfo(kPaperA4, 0, 0, Landscape, -1, true);
  EXPECT_EQ(printer.paper_width(), 2970);
  EXPECT_EQ(printer.paper_height(), 2100);
  printer.FillPrnInfo(info);
  EXPECT_EQ(info.page_width, 1071);
  EXPECT_EQ(info.printable_height, 722);
}

TEST(VirtualPrinter, OffersThePaperTableAndOnlyTheDefaultBin) {
  MemoryPrinterSystem empty;
  TvtPrinter printer(empty);
  printer.SetPrinter();
  ASSERT_EQ(printer.paper_count(), kPaperTableRows);
  EXPECT_EQ(printer.paper_codes().front(), 1);
  EXPECT_EQ(printer.paper_codes()[46], 47);
  EXPECT_EQ(printer.paper_codes()[47], 50);  // 48 and 49 are not in the table
  EXPECT_EQ(printer.paper_codes().back(), kPaperCustom);
  for (const std::string& name : printer.paper_names()) EXPECT_EQ(name, "");
  EXPECT_EQ(printer.bin_names(), std::vector<std::string>{""});
  EXPECT_EQ(printer.bin_codes(), std::vector<int16_t>{-1});
}

TEST(VirtualPrinter, KeepsPapersOutsideTheTableAsGiven) {
  MemoryPrinterSystem empty;
  TvtPrinter printer(empty);
  printer.SetPrinter();
  struct Case {
    int code;
    int32_t width, height;
    PrinterOrientation orientation;
    int32_t want_width, want_height;
  } cases[] = {
      {8, 1, 1, Portrait, 2970, 4200},                  // A3 from the table
      {4, 1, 1, Landscape, 2794, 4318},                 // a wide table paper turned
      {kPaperCustom, 1234, 567, Landscape, 1234, 567},  // custom: as asked, not swapped
      {48, 1500, 2500, Portrait, 1500, 2500},           // a number the table lacks keeps its size
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    printer.SetPrinterInfo(c.code, c.width, c.height, c.orientation, -1, true);
    EXPECT_EQ(printer.paper_code(), c.code);
    EXPECT_EQ(printer.paper_width(), c.want_width);
    EXPECT_EQ(printer.paper_height(), c.want_height);
    EXPECT_EQ(printer.orientation(), c.orientation);
  }
}

TEST_F(TwoPrinters, VirtualPrinterComesLast) {
  EXPECT_EQ(printer.printers(),
            (std::vector<std::string>{"Office Laser", "Label Printer", "Virtual printer"}));
  EXPECT_EQ(printer.virtual_printer_index(), 2);
  EXPECT_EQ(printer.printer_index(), 0);  // the system's default printer
  EXPECT_FALSE(printer.is_virtual());

  // Printers come and go between refreshes; the chosen one stays chosen.
  printer.SetPrinterIndex(1);
  system.remove_printer("Office Laser");
  system.add_printer("Plotter", office_laser());
  printer.SetPrinter();
  EXPECT_EQ(printer.printers(),
            (std::vector<std::string>{"Label Printer", "Plotter", "Virtual printer"}));
  EXPECT_EQ(printer.printer_index(), 0);
  EXPECT_EQ(printer.device(), "Label Printer");

  system.remove_printer("Label Printer");
  system.remove_printer("Plotter");
  printer.SetPrinter();
  EXPECT_EQ(printer.printers(), std::vector<std::string>{"Virtual printer"});
  EXPECT_TRUE(printer.is_virtual());
}

TEST_F(TwoPrinters, ReadsTheRealPrinter) {
  EXPECT_EQ(printer.device(), "Office Laser");
  EXPECT_EQ(printer.driver(), "Generic PCL Laser");
  EXPECT_EQ(printer.port(), "socket://office");
  EXPECT_EQ(printer.paper_code(), kPaperA4);
  EXPECT_EQ(printer.paper_width(), 2100);
  EXPECT_EQ(printer.paper_height(), 2970);
  EXPECT_EQ(printer.orientation(), Portrait);
  EXPECT_EQ(printer.paper_codes(), (std::vector<int16_t>{9, 1, 8, kPaperCustom}));
  EXPECT_EQ(printer.paper_names()[1], "na_letter_8.5x11in");
  EXPECT_EQ(printer.bin_names(), (std::vector<std::string>{"", "auto", "tray-1", "manual"}));
  EXPECT_EQ(printer.bin_codes(), (std::vector<int16_t>{-1, 256, 257, 258}));
  EXPECT_EQ(printer.bin(), 256);
}

TEST_F(TwoPrinters, FillsGeometryFromDotsAndMargins) {
  // A4 at 600 dpi with 4.2 mm margins.
  EXPECT_EQ(fill(), (PrinterInfo{4961, 7016, 758, 1071, 99, 99, 15, 15, 4763, 6818, 727, 1041}));

  printer.SetPrinterInfo(kPaperA4, 0, 0, Landscape, -1, false);
  EXPECT_EQ(printer.paper_width(), 2970);
  EXPECT_EQ(printer.paper_height(), 2100);
  EXPECT_EQ(fill(), (PrinterInfo{7016, 4961, 1071, 758, 99, 99, 15, 15, 6818, 4763, 1041, 727}));

  // Letter's uneven margins turn with the page: the portrait top edge becomes the left.
  printer.SetPrinterInfo(1, 0, 0, Portrait, -1, true);
  PrinterInfo portrait = fill();
  EXPECT_EQ(portrait.device_offset_x, 71);   // 3 mm
  EXPECT_EQ(portrait.device_offset_y, 118);  // 5 mm
  EXPECT_EQ(portrait.device_printable_width, 5100 - 71 - 94);
  printer.SetPrinterInfo(1, 0, 0, Landscape, -1, true);
  PrinterInfo landscape = fill();
  EXPECT_EQ(landscape.device_page_width, 6600);
  EXPECT_EQ(landscape.device_offset_x, 118);
  EXPECT_EQ(landscape.device_offset_y, 94);
  EXPECT_EQ(landscape.device_printable_width, 6600 - 118 - 142);
  EXPECT_EQ(landscape.device_printable_height, 5100 - 94 - 71);
}

TEST_F(TwoPrinters, SelectsPapersByCodeAndCustomSize) {
  printer.SetPrinterInfo(8, 0, 0, Portrait, -1, false);
  EXPECT_EQ(printer.paper_code(), 8);
  EXPECT_EQ(printer.paper_height(), 4200);

  // A paper the printer does not offer is refused: the printer keeps its paper, so the
  // caller can see it and fall back to a custom size.
  printer.SetPrinterInfo(5, 2159, 3556, Portrait, -1, false);
  EXPECT_EQ(printer.paper_code(), 8);
  EXPECT_EQ(printer.paper_height(), 4200);

  printer.SetPrinterInfo(kPaperCustom, 1000, 1500, Portrait, -1, false);
  EXPECT_EQ(printer.paper_code(), kPaperCustom);
  EXPECT_EQ(printer.paper_width(), 1000);
  EXPECT_EQ(printer.paper_height(), 1500);
  EXPECT_EQ(fill().device_offset_x, 47);  // the 2 mm margins of the listed 100 x 150 paper

  // A landscape custom page keeps the asked width and height.
  printer.SetPrinterInfo(kPaperCustom, 1500, 1000, Landscape, -1, false);
  EXPECT_EQ(printer.paper_width(), 1500);
  EXPECT_EQ(printer.paper_height(), 1000);
  EXPECT_EQ(printer.orientation(), Landscape);

  // Sizes the printer cannot take are refused too.
  printer.SetPrinterInfo(kPaperCustom, 0, 1000, Landscape, -1, false);
  EXPECT_EQ(printer.paper_width(), 1500);
  printer.SetPrinterInfo(kPaperCustom, 40000, 1000, Landscape, -1, false);
  EXPECT_EQ(printer.paper_width(), 1500);
  EXPECT_EQ(printer.paper_height(), 1000);
}

TEST_F(TwoPrinters, SelectsBins) {
  printer.SetPrinterInfo(kPaperA4, 0, 0, Portrait, 258, true);
  EXPECT_EQ(printer.bin(), 258);
  // The default bin leaves the source as it is; an unknown source is refused.
  printer.SetPrinterInfo(kPaperA4, 0, 0, Portrait, -1, true);
  EXPECT_EQ(printer.bin(), 258);
  printer.SetPrinterInfo(kPaperA4, 0, 0, Portrait, 999, true);
  EXPECT_EQ(printer.bin(), 258);
  printer.SetPrinterInfo(kPaperA4, 0, 0, Portrait, DMBIN_AUTO, true);
  EXPECT_EQ(printer.bin(), DMBIN_AUTO);
}

TEST_F(TwoPrinters, IsEqualTolerance) {
  printer.SetPrinterInfo(kPaperCustom, 1000, 1500, Portrait, -1, true);
  struct Case {
    int size;
    int32_t width, height;
    PrinterOrientation orientation;
    int bin;
    bool equal;
  } custom[] = {
      {kPaperCustom, 1000, 1500, Portrait, -1, true},
      {kPaperCustom, 1001, 1499, Portrait, 300, true},  // one tenth off; bin does not matter
      {kPaperCustom, 1002, 1500, Portrait, -1, false},
      {kPaperCustom, 1000, 1502, Portrait, -1, false},
      {kPaperCustom, 1000, 1500, Landscape, -1, false},
      {kPaperA4, 1000, 1500, Portrait, -1, false},
  };
  for (const Case& c : custom)
    EXPECT_EQ(printer.IsEqual(c.size, c.width, c.height, c.orientation, c.bin), c.equal)
        << c.width << "x" << c.height << " bin " << c.bin;

  printer.SetPrinterInfo(kPaperA4, 0, 0, Portrait, 257, true);
  Case a4[] = {
      {kPaperA4, 1, 2, Portrait, 257, true},  // sizes do not matter for table papers
      {kPaperA4, 0, 0, Portrait, -1, true},   {kPaperA4, 0, 0, Portrait, 0xFFFF, true},
      {kPaperA4, 0, 0, Portrait, 258, false}, {kPaperA4, 0, 0, Landscape, 257, false},
      {8, 0, 0, Portrait, 257, false},
  };
  for (const Case& c : a4)
    EXPECT_EQ(printer.IsEqual(c.size, c.width, c.height, c.orientation, c.bin), c.equal)
        << c.size << " bin " << c.bin;
}

TEST_F(TwoPrinters, SetPrinterInfoSkipsEqualSettingsUnlessForced) {
  printer.SetPrinterIndex(printer.virtual_printer_index());
  printer.SetPrinterInfo(kPaperCustom, 1000, 1500, Portrait, -1, true);
  printer.SetPrinterInfo(kPaperCustom, 1001, 1500, Portrait, -1, false);
  EXPECT_EQ(printer.paper_width(), 1000);
  printer.SetPrinterInfo(kPaperCustom, 1001, 1500, Portrait, -1, true);
  EXPECT_EQ(printer.paper_width(), 1001);

  // While a job runs nothing changes, forced or not.
  printer.system_printer().SetPrinting(true);
  printer.SetPrinterInfo(8, 0, 0, Portrait, -1, true);
  EXPECT_EQ(printer.paper_code(), kPaperCustom);
  printer.system_printer().SetPrinting(false);
  printer.SetPrinterInfo(8, 0, 0, Portrait, -1, false);
  EXPECT_EQ(printer.paper_code(), 8);
}

TEST_F(TwoPrinters, SwitchingPrinters) {
  printer.SetPrinterInfo(8, 0, 0, Landscape, 257, true);

  // The virtual printer keeps the paper and orientation and offers its own lists.
  printer.SetPrinterIndex(2);
  EXPECT_TRUE(printer.is_virtual());
  EXPECT_EQ(printer.paper_code(), 8);
  EXPECT_EQ(printer.paper_width(), 4200);
  EXPECT_EQ(printer.paper_height(), 2970);
  EXPECT_EQ(printer.paper_count(), kPaperTableRows);
  EXPECT_EQ(printer.bin_count(), 1);

  // A real printer starts from its own settings.
  printer.SetPrinterIndex(1);
  EXPECT_EQ(printer.device(), "Label Printer");
  EXPECT_EQ(printer.paper_code(), kPaperCustom);
  EXPECT_EQ(printer.paper_width(), 1016);
  EXPECT_EQ(printer.paper_height(), 1524);
  EXPECT_EQ(printer.orientation(), Portrait);
  EXPECT_EQ(printer.bin_codes(), std::vector<int16_t>{-1});
  EXPECT_EQ(printer.bin(), DMBIN_AUTO);
  // It cannot turn pages.
  printer.SetPrinterInfo(kPaperCustom, 1524, 1016, Landscape, -1, true);
  EXPECT_EQ(printer.orientation(), Portrait);
  PrinterInfo info = fill();
  EXPECT_EQ(info.device_page_width, 812);  // 4 in at 203 dpi
  EXPECT_EQ(info.page_width, 367);

  // Back on the virtual printer a custom size stays as it was.
  printer.SetPrinterIndex(2);
  EXPECT_EQ(printer.paper_code(), kPaperCustom);
  EXPECT_EQ(printer.paper_width(), 1016);
  EXPECT_EQ(printer.paper_height(), 1524);

  EXPECT_THROW(printer.SetPrinterIndex(3), ZorelError);
  EXPECT_THROW(printer.SetPrinterIndex(-1), ZorelError);
  EXPECT_EQ(printer.printer_index(), 2);
}

TEST_F(TwoPrinters, SilentPrinterSelectsTheVirtualPrinter) {
  system.set_silent(true);
  printer.SetPrinterIndex(1);
  EXPECT_TRUE(printer.is_virtual());
  EXPECT_EQ(printer.paper_count(), kPaperTableRows);
  EXPECT_EQ(fill().page_width, 758);

  printer.SetPrinter();
  EXPECT_TRUE(printer.is_virtual());
}

TEST_F(TwoPrinters, PropertiesDialogEditsACopyOfTheMode) {
  EXPECT_FALSE(printer.PropertiesDialog([](DeviceMode& mode) {
    mode.paper_size = 8;
    return false;
  }));
  EXPECT_EQ(printer.system_printer().Mode()->paper_size, kPaperA4);
  EXPECT_TRUE(printer.PropertiesDialog([](DeviceMode& mode) {
    mode.paper_size = 8;
    return true;
  }));
  EXPECT_EQ(printer.system_printer().Mode()->paper_size, 8);

  printer.SetPrinterIndex(2);
  bool shown = false;
  EXPECT_FALSE(printer.PropertiesDialog([&](DeviceMode&) { return shown = true; }));
  EXPECT_FALSE(shown);
}

// What a system reports is not trusted: unusable papers are dropped, margins are kept on
// the paper, and an impossible resolution becomes 600 dpi.
TEST(SystemPrinterCapabilities, AreCheckedBeforeUse) {
  PrinterCapabilities caps;
  caps.papers = {
      {"none", 0, 2970, {}}, {"huge", 40000, 2970, {}}, {"a4", 2100, 2970, {-50, 5000, 42, 42}}};
  caps.default_paper = 7;
  caps.sources = {"only"};
  caps.default_source = 3;
  caps.dpi_x = 0;
  caps.dpi_y = -1;
  MemoryPrinterSystem system;
  system.add_printer("Odd", caps);
  TvtPrinter printer(system);
  printer.SetPrinter();
  ASSERT_FALSE(printer.is_virtual());
  EXPECT_EQ(printer.paper_codes(), std::vector<int16_t>{kPaperA4});
  EXPECT_EQ(printer.bin(), DMBIN_AUTO);
  PrinterInfo info;
  printer.FillPrnInfo(info);
  EXPECT_EQ(info.device_page_width, 4961);
  EXPECT_EQ(info.device_offset_x, 0);
  EXPECT_EQ(info.device_offset_y, 3508);  // half the paper
  EXPECT_EQ(info.device_printable_height, 7016 - 3508 - 99);
}

TEST(SystemPrinterNames, AreAnsiText) {
  MemoryPrinterSystem system;
  system.add_printer("\xEC\x82\xAC\xEB\xAC\xB4\xEC\x8B\xA4", office_laser());  // UTF-8
  TvtPrinter printer(system);
  printer.SetPrinter();
  EXPECT_EQ(printer.printers().front(), utf8_to_ansi("\xEC\x82\xAC\xEB\xAC\xB4\xEC\x8B\xA4"));
  EXPECT_EQ(printer.device(), printer.printers().front());
}

TEST(PaperTable, MapsSizesToCodes) {
  struct Case {
    int32_t width, height;
    int code;
  } cases[] = {
      {2100, 2970, 9},      {2101, 2972, 9}, {2103, 2970, kPaperCustom}, {2159, 2794, 1},
      {2794, 4318, 3},      {4318, 2794, 4}, {1480, 2100, 11},           {1000, 1500, kPaperCustom},
      {0, 0, kPaperCustom},
  };
  for (const Case& c : cases)
    EXPECT_EQ(paper_code_for_size(c.width, c.height), c.code) << c.width << "x" << c.height;

  std::vector<TPaperInfo> rows = load_paper_table();
  ASSERT_EQ(rows.size(), 67u);
  EXPECT_EQ(paper_table_row(9), 8);
  EXPECT_EQ(paper_table_row(48), std::nullopt);
  EXPECT_EQ(rows[*paper_table_row(68)].width, 3220);
}

TEST(LocaleStrings, MissingNumbersAreEmpty) {
  EXPECT_EQ(LoadStr(kStrVirtualPrinter), "Virtual printer");
  EXPECT_EQ(LoadStr(kStrDefaultBin), "");
  EXPECT_EQ(LoadStr(kStrFirstPaperName), "");
  EXPECT_EQ(LoadStr(0), "");
}

}  // namespace
}  // namespace zr
