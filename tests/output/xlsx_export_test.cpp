// The Excel export's settings on a two-page report (tests/data/output/sales_list): one
// worksheet per page or one for the report with page breaks, and the options dialog model.
// The workbooks are read back with openpyxl (tests/data/output/xlsx/xlsx_dump.py).
#include "output/xlsx/xlsx_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "engine/engine_fixture.h"
#include "engine/report/report.h"
#include "output/xlsx/xlsx_export_dialog.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::run_command;
using testing_support::run_tool;

constexpr const char* kPython = "/usr/bin/python3";

class XlsxSettingsTest : public ::testing_support::EngineTest {
 protected:
  fs::path work = fs::path(testing::TempDir()) / ("xlsx_settings_" + std::to_string(getpid()));

  void SetUp() override {
    if (run_command(std::string(kPython) + " -c 'import openpyxl'").status != 0)
      GTEST_SKIP() << "python3-openpyxl is not installed";
    fs::create_directories(work);
    const fs::path source = fs::path(ZR_TEST_DATA_DIR) / "output" / "sales_list";
    const std::string form = (work / "form.zrf").string();
    auto built = run_tool("form build " + (source / "form.json").string() + " -o " + form);
    ASSERT_EQ(built.status, 0) << built.output;
    const fs::path prepared = work / "report.zrw";
    auto run = run_tool("prepare " + form + " --data Items=" + (source / "Items.xml").string() +
                        " -o " + prepared.string());
    ASSERT_EQ(run.status, 0) << run.output;
    report.LoadPreparedReport(prepared);
    ASSERT_EQ(report.EMFPages.Count(), 2);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(work);
  }

  // openpyxl's reading of the workbook the filter writes.
  std::string Export(TOxvtXLSXExport& filter) {
    const fs::path out = work / "out.xlsx";
    report.ExportReportTo(filter, out.string());
    auto dump = run_command(std::string(kPython) + " " + ZR_TEST_DATA_DIR +
                            "/output/xlsx/xlsx_dump.py " + out.string());
    EXPECT_EQ(dump.status, 0) << dump.output;
    return dump.output;
  }

  TvtReport report;
};

bool Has(const std::string& dump, const std::string& line) {
  return dump.find(line + "\n") != std::string::npos;
}

TEST_F(XlsxSettingsTest, OneWorksheetPerPage) {
  TOxvtXLSXExport filter;
  filter.ShowDialog = false;
  filter.SheetPerPage = true;
  filter.PageBreaks = true;  // nothing to break on a worksheet of one page
  const std::string dump = Export(filter);
  const size_t second = dump.find("sheet Page 2\n");
  ASSERT_TRUE(dump.starts_with("sheet Page 1\n")) << dump;
  ASSERT_NE(second, std::string::npos) << dump;
  EXPECT_EQ(dump.find("break "), std::string::npos) << dump;
  const std::string first_page = dump.substr(0, second), second_page = dump.substr(second);
  // Each page has its own grid and starts at row 1; the prices keep their two decimals.
  EXPECT_TRUE(Has(first_page, "cell A3 s 1. 사과 | General")) << first_page;
  EXPECT_TRUE(Has(first_page, "cell B3 n 1.25 | 0.00")) << first_page;
  EXPECT_TRUE(Has(second_page, "cell A1 s 품목 Item | General")) << second_page;
  EXPECT_TRUE(Has(second_page, "cell B2 n 20 | 0.00")) << second_page;
}

TEST_F(XlsxSettingsTest, OneWorksheetWithPageBreaks) {
  TOxvtXLSXExport filter;
  filter.ShowDialog = false;
  std::string dump = Export(filter);
  EXPECT_TRUE(dump.starts_with("sheet Report\n")) << dump;
  EXPECT_EQ(dump.find("break "), std::string::npos) << dump;

  filter.PageBreaks = true;
  dump = Export(filter);
  EXPECT_EQ(dump.find("sheet ", 1), std::string::npos) << dump;
  // The break falls after page 1's last row: page 2's header comes right after it.
  const size_t at = dump.find("break ");
  ASSERT_NE(at, std::string::npos) << dump;
  const int row = std::stoi(dump.substr(at + 6));
  EXPECT_TRUE(Has(dump, "cell A" + std::to_string(row + 1) + " s 품목 Item | General")) << dump;
}

TEST_F(XlsxSettingsTest, OptionsDialogModel) {
  TOxvtXLSXExport filter;
  filter.Title = "Sales";
  int shown = 0;
  filter.DialogPresenter = [&](TOxvtXLSXExportDialog& dialog) {
    ++shown;
    EXPECT_EQ(dialog.Caption, "Excel Export Options");
    EXPECT_EQ(dialog.chkSheetPerPage.Caption, "One Worksheet Per Page");
    EXPECT_EQ(dialog.edTitle.Text, "Sales");
    EXPECT_TRUE(dialog.PageBreaksEnabled());
    dialog.chkSheetPerPage.Checked = true;
    EXPECT_FALSE(dialog.PageBreaksEnabled());
    dialog.edAuthor.Text = "Kim";
    return shown == 1 ? 1 : 2;  // OK, then Cancel
  };
  EXPECT_TRUE(Export(filter).starts_with("sheet Page 1\n"));
  EXPECT_TRUE(filter.SheetPerPage);
  EXPECT_EQ(filter.Author, "Kim");

  // Cancel: the settings stay and no file is written.
  filter.SheetPerPage = false;
  fs::remove(work / "out.xlsx");
  report.ExportReportTo(filter, (work / "out.xlsx").string());
  EXPECT_FALSE(filter.SheetPerPage);
  EXPECT_FALSE(fs::exists(work / "out.xlsx"));
}

}  // namespace
}  // namespace zr
