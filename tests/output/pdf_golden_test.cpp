// A whole PDF file compared with the expected one: the form in tests/data/output/pdf_sample
// (form.json, built with zrtool) prepared with the engine's fixed clock and exported without
// compression, so that a change anywhere in the file shows as a readable difference. With
// ZR_UPDATE_GOLDEN=1 in the environment the expected file is written instead of compared.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/engine_fixture.h"
#include "engine/report/report.h"
#include "output/pdf/pdf_export.h"
#include "pdf_file.h"
#include "platform/byte_stream.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using pdf_testing::PdfFile;
using pdf_testing::ReadBytes;
using pdf_testing::RunCommand;

const fs::path kSample = fs::path(ZR_TEST_DATA_DIR) / "output" / "pdf_sample";

class PdfGoldenTest : public ::testing_support::EngineTest {
 protected:
  fs::path work = fs::path(testing::TempDir()) / ("pdf_golden_" + std::to_string(getpid()));
  void SetUp() override { fs::create_directories(work); }
  void TearDown() override { fs::remove_all(work); }
};

TEST_F(PdfGoldenTest, SampleReportMatchesTheExpectedFile) {
  const std::string form = (work / "form.zrf").string();
  auto built = zr::testing_support::run_tool("form build " + (kSample / "form.json").string() +
                                             " -o " + form);
  ASSERT_EQ(built.status, 0) << built.output;
  const std::string bytes = ReadBytes(form);
  ByteReader reader(std::string_view(bytes), form);

  TvtReport report;
  report.ShowProgress = false;
  report.LoadFromStream(reader);
  ASSERT_TRUE(report.PrepareReport());
  TOxvtPDFExport pdf;
  pdf.ShowDialog = false;
  pdf.UseCompression = false;
  pdf.PdfMode = pmClassic;
  pdf.TimeZoneBias = -540;
  pdf.Author = "Zorel tests";
  const fs::path out = work / "sample.pdf";
  report.ExportReportTo(pdf, out.string());

  const auto check = RunCommand("qpdf --check '" + out.string() + "'");
  EXPECT_EQ(check.status, 0) << check.output;
  const std::string text = RunCommand("pdftotext -layout '" + out.string() + "' -").output;
  for (const char* expected : {"Monthly statement (December)", "합계 금액: 1,234,500원",
                               "굴림체 글꼴", "Framed and filled", "centred"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;

  const fs::path expected = kSample / "expected.pdf";
  if (const char* update = std::getenv("ZR_UPDATE_GOLDEN"); update && *update == '1') {
    fs::copy_file(out, expected, fs::copy_options::overwrite_existing);
    GTEST_SKIP() << "wrote " << expected;
  }
  const std::string written = ReadBytes(out);
  const std::string wanted = ReadBytes(expected);
  EXPECT_EQ(written.size(), wanted.size());
  // Line by line, so that a difference reads as the object it is in.
  std::istringstream a(written), b(wanted);
  std::string line_a, line_b;
  for (int line = 1; std::getline(b, line_b); ++line) {
    std::getline(a, line_a);
    ASSERT_EQ(line_a, line_b) << "line " << line;
  }
}

}  // namespace
}  // namespace zr
