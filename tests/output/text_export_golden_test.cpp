// The text and CSV exports of a small report, end to end: the form is built from its JSON
// source with zrtool, prepared over its data packet, read back as a prepared report and
// exported through TvtReport::ExportReportTo. The files must match the expected ones in
// tests/data/output byte for byte; ZR_UPDATE_GOLDEN=1 writes them instead.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "engine/engine_fixture.h"
#include "engine/report/report.h"
#include "output/text/csv_export.h"
#include "output/text/text_export.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::run_tool;

const fs::path kOutputData = fs::path(ZR_TEST_DATA_DIR) / "output";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool UpdatingGolden() {
  const char* update = std::getenv("ZR_UPDATE_GOLDEN");
  return update && *update == '1';
}

class TextExportGoldenTest : public ::testing_support::EngineTest {
 protected:
  fs::path work = fs::path(testing::TempDir()) / ("text_export_" + std::to_string(getpid()));

  void SetUp() override { fs::create_directories(work); }
  void TearDown() override { fs::remove_all(work); }

  // Builds and prepares the report of folder `name`; returns the prepared-report file.
  fs::path Prepare(const std::string& name) {
    const fs::path source = kOutputData / name;
    const std::string form = (work / "form.zrf").string();
    auto built = run_tool("form build " + (source / "form.json").string() + " -o " + form);
    EXPECT_EQ(built.status, 0) << built.output;
    std::string data;
    for (const auto& entry : fs::directory_iterator(source))
      if (entry.path().extension() == ".xml")
        data += " --data " + entry.path().stem().string() + "=" + entry.path().string();
    const fs::path prepared = work / "report.zrw";
    auto run = run_tool("prepare " + form + data + " -o " + prepared.string());
    EXPECT_EQ(run.status, 0) << run.output;
    return prepared;
  }
};

TEST_F(TextExportGoldenTest, SalesListAsTextAndCsv) {
  struct Case {
    const char* expected;  // file in the report's folder
    std::function<std::unique_ptr<TvtTextExport>()> make;
  };
  const Case cases[] = {
      // As the viewer's form sets the filters up.
      {"expected.txt",
       [] {
         auto filter = std::make_unique<TvtTextExport>();
         filter->ShowDialog = false;
         filter->Default = true;
         filter->UsePseudographic = true;
         return filter;
       }},
      // The dialog is asked for (and answers OK without a window).
      {"expected_frames.txt",
       [] {
         auto filter = std::make_unique<TvtTextExport>();
         filter->ExportFrames = true;
         return filter;
       }},
      {"expected_frames_dos.txt",
       [] {
         auto filter = std::make_unique<TvtTextExport>();
         filter->ShowDialog = false;
         filter->ExportFrames = true;
         filter->UsePseudographic = true;
         filter->ConvertToOEM = true;
         return filter;
       }},
      {"expected.csv",
       [] {
         auto filter = std::make_unique<TvtCSVExport>();
         filter->ShowDialog = false;
         filter->UsePseudographic = true;
         filter->Delimiter = ',';
         return std::unique_ptr<TvtTextExport>(std::move(filter));
       }},
  };

  const fs::path folder = kOutputData / "sales_list";
  const fs::path prepared = Prepare("sales_list");
  TvtReport report;
  report.LoadPreparedReport(prepared);
  ASSERT_EQ(report.EMFPages.Count(), 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::unique_ptr<TvtTextExport> filter = c.make();
    const fs::path out = work / c.expected;
    report.ExportReportTo(*filter, out.string());
    const std::string bytes = ReadFile(out);
    if (UpdatingGolden()) {
      std::ofstream(folder / c.expected, std::ios::binary) << bytes;
      continue;
    }
    EXPECT_EQ(bytes, ReadFile(folder / c.expected));
  }
}

}  // namespace
}  // namespace zr
