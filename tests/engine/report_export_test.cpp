// Exporting prepared pages: the call sequence a filter sees, the file it writes into, the
// cancelling hooks, and the registry of formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "band_report_fixture.h"
#include "engine/model/export_filter.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band.h"
#include "platform/errors.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;
using testing_support::BandReportTest;

// Writes one line per call into the file and keeps the same lines in `calls`.
class RecordingFilter : public TvtExportFilter {
 public:
  Lines calls;
  int modal_result = 1;
  int ShowModal() override { return modal_result; }
  void OnBeginDoc() override { Note("begin doc"); }
  void OnEndDoc() override { Note("end doc"); }
  void OnBeginPage() override { Note("begin page"); }
  void OnEndPage() override { Note("end page"); }
  void OnData(int x, int y, TvtView& view) override {
    Note("data " + view.Name + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnText(const Rect&, int, int, const std::string& text, int, int line_no, TvtView&) override {
    Note("text " + std::to_string(line_no) + " " + text);
  }

 private:
  void Note(const std::string& call) {
    calls.push_back(call);
    if (Stream) *Stream << call << "\n";
  }
};

class SecondFormat : public RecordingFilter {
 public:
  SecondFormat() { RegisterFilter("Second (*.two)", "*.two"); }
};
class FirstFormat : public RecordingFilter {
 public:
  FirstFormat() { RegisterFilter("First (*.one)", "*.one"); }
};

class ReportExportTest : public BandReportTest {
 protected:
  // One file per test: ctest runs the tests of this suite side by side.
  std::filesystem::path file =
      std::filesystem::path(::testing::TempDir()) /
      (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt");

  void PrepareTwoPages() {
    const int per_page = (bottom_edge() - top_edge()) / 400;
    AddBand(btMasterData, "MasterData1", 20, 400, 0, std::to_string(per_page + 1));
    AddText("M", 20, "row [LINE#]");
    ASSERT_TRUE(report.PrepareReport());
    ASSERT_EQ(report.EMFPages.Count(), 2);
  }

  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(ReportExportTest, FilterSeesEveryPageAndWritesTheFile) {
  PrepareTwoPages();
  RecordingFilter filter;
  std::string after;
  filter.OnAfterExport = [&](const std::string& name) { after = name; };
  report.ExportReportTo(filter, file.string());
  ASSERT_GE(filter.calls.size(), 6u);
  EXPECT_EQ(filter.calls.front(), "begin doc");
  EXPECT_EQ(filter.calls[1], "begin page");
  EXPECT_EQ(filter.calls[2].rfind("data M 10,", 0), 0u) << filter.calls[2];
  EXPECT_EQ(filter.calls[3], "text 0 row 1");
  EXPECT_EQ(filter.calls.back(), "end doc");
  EXPECT_EQ(std::count(filter.calls.begin(), filter.calls.end(), "end page"), 2);
  std::string expected;
  for (const std::string& call : filter.calls) expected += call + "\n";
  EXPECT_EQ(Read(file), expected);
  EXPECT_EQ(after, file.string());
  EXPECT_EQ(filter.Stream, nullptr);
  EXPECT_EQ(report.ExportFilter, nullptr);
}

TEST_F(ReportExportTest, HooksRenameOrCancel) {
  PrepareTwoPages();
  RecordingFilter filter;
  const auto renamed = file.string() + ".renamed";
  filter.OnBeforeExport = [&](std::string& name, bool&) { name = renamed; };
  report.ExportReportTo(filter, file.string());
  EXPECT_TRUE(std::filesystem::exists(renamed));

  std::filesystem::remove(file);
  const size_t calls = filter.calls.size();
  filter.OnBeforeExport = [](std::string&, bool& go_on) { go_on = false; };
  report.ExportReportTo(filter, file.string());
  filter.OnBeforeExport = nullptr;
  filter.modal_result = 2;
  report.ExportReportTo(filter, file.string());
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(filter.calls.size(), calls);
}

TEST_F(ReportExportTest, UnwritableFileIsAnIoError) {
  PrepareTwoPages();
  RecordingFilter filter;
  EXPECT_THROW(report.ExportReportTo(filter, "/nonexistent-folder/out.txt"), IoError);
  EXPECT_EQ(report.ExportFilter, nullptr);
}

TEST_F(ReportExportTest, RegistryKeepsOneRowPerClassInOrder) {
  TvtExportFilters& registry = TvtGlobals::Get().export_filters;
  const int before = registry.Count();
  {
    FirstFormat first;
    SecondFormat second;
    FirstFormat another_first;  // same class: not listed again
    ASSERT_EQ(registry.Count(), before + 2);
    EXPECT_EQ(registry.Items(before).Filter, &first);
    EXPECT_EQ(registry.Items(before).Mask, "*.one");
    EXPECT_EQ(registry.Items(before + 1).Description, "Second (*.two)");
  }
  EXPECT_EQ(registry.Count(), before);  // destroyed filters leave the list
  EXPECT_THROW(registry.Items(before), ZorelError);
}

}  // namespace
}  // namespace zr
