// The Excel export of the bundled sales example, saved by zrviewer (save 10) from a loopback
// web server and opened by two independent readers: openpyxl (cell values, types, number
// formats, merged ranges, sheet names) and LibreOffice (the workbook converted to CSV shows
// the numbers as the report printed them).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "example_site.h"
#include "support/http_server.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::HttpTestServer;
using testing_support::run_command;

// Debian's interpreter, which has python3-openpyxl (a python3 earlier on PATH may not).
constexpr const char* kPython = "/usr/bin/python3";

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class XlsxExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(work);
    fs::create_directories(work);
    testing_support::serve_example(server, work, "sales", "sales_form.json", "sales");
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(work);
  }

  testing_support::ToolResult save_sales(const fs::path& out) {
    return run_command("env -u DISPLAY -u WAYLAND_DISPLAY ZOREL_HOME=" + (work / "zorel").string() +
                       " " ZR_VIEWER_PATH " --ReportFile " + server.url("/sales.zrf") +
                       " --dataFile " + server.url("/sales.html") + " save 10 " + out.string());
  }

  HttpTestServer server;
  const fs::path work =
      fs::path(::testing::TempDir()) / ("xlsx_export_" + std::to_string(getpid()));
};

TEST_F(XlsxExportTest, SalesExampleReadByOpenpyxl) {
  if (run_command(std::string(kPython) + " -c 'import openpyxl'").status != 0)
    GTEST_SKIP() << "python3-openpyxl is not installed";
  const fs::path xlsx = work / "sales.xlsx";
  auto run = save_sales(xlsx);
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "Saved " + xlsx.string() + "\n");
  auto dump = run_command(std::string(kPython) + " " + ZR_TEST_DATA_DIR +
                          "/output/xlsx/xlsx_dump.py " + xlsx.string());
  ASSERT_EQ(dump.status, 0) << dump.output;
  const std::string& out = dump.output;
  EXPECT_TRUE(out.starts_with("sheet Report\n")) << out;
  EXPECT_EQ(out.find("sheet ", 1), std::string::npos) << "one worksheet for the whole report";
  EXPECT_EQ(out.find("break "), std::string::npos) << "no page breaks unless asked for";
  const char* lines[] = {
      // The title spans the columns of the page; the captions are texts.
      "merged A1:G1",
      "cell A1 s 2026년 상반기 매출 현황 | General",
      "cell A3 s 판매번호 | General",
      "cell G3 s 금액 | General",
      // A sales line: number, date, text, numbers with the report's grouping.
      "cell A6 n 50002 | 0",
      "cell B6 d 2026-01-12 00:00:00 | yyyy-mm-dd",
      "cell C6 s 토너 카트리지 | General",
      "cell D6 n 18 | 0",
      "cell E6 n 87000 | #,##0",
      "merged E6:F6",
      "cell G6 n 1566000 | #,##0",
      // Texts with numbers in them stay texts.
      "cell C11 s 소계  5건   6,229,000 | General",
      "cell A5 s 1001  한빛상사   담당: 김민준 | General",
      // Page 2 follows on the same worksheet.
      "s 총계  판매 47건   66,223,500원 | General",
      "s 2 / 2 쪽 | General",
  };
  for (const char* line : lines)
    EXPECT_NE(out.find(std::string(line) + "\n"), std::string::npos) << line;
}

TEST_F(XlsxExportTest, SalesExampleConvertedByLibreOffice) {
  if (run_command("command -v soffice").status != 0) GTEST_SKIP() << "LibreOffice is not installed";
  const fs::path xlsx = work / "sales.xlsx";
  auto run = save_sales(xlsx);
  ASSERT_EQ(run.status, 0) << run.output;
  // Comma-separated, UTF-8 (76), a private profile so that no other LibreOffice interferes.
  auto converted = run_command(
      "soffice -env:UserInstallation=file://" + (work / "lo").string() +
      " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' --outdir " +
      work.string() + " " + xlsx.string());
  ASSERT_EQ(converted.status, 0) << converted.output;
  const std::string csv = read_text(work / "sales.csv");
  const char* lines[] = {
      "\"2026년 상반기 매출 현황\",,,,,,",
      "\"판매번호\",\"판매일\",\"품목\",\"수량\",\"단가\",,\"금액\"",
      "50002,2026-01-12,\"토너 카트리지\",18,\"87,000\",,\"1,566,000\"",
      ",,\"소계  5건   6,229,000\",,,,",
  };
  for (const char* line : lines)
    EXPECT_NE(csv.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << csv;
}

}  // namespace
}  // namespace zr
