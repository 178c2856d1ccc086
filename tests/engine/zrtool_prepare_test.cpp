// zrtool prepare over the example reports in tests/data/reports: each folder holds a form as
// JSON (form.json), its data packets (NAME.xml, loaded in name order as --data NAME=NAME.xml,
// so the last is the report's own dataset) and the expected dump of the prepared report
// (expected.txt). A few forms carry records that JSON cannot describe; those are added to the
// built file (kFormPatches). With ZR_UPDATE_GOLDEN=1 in the environment the dumps are written
// instead of compared.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "engine_fixture.h"
#include "platform/byte_stream.h"
#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;
using zr::testing_support::run_tool;

const fs::path kReports = fs::path(ZR_TEST_DATA_DIR) / "reports";

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Appends a memo's object record as a version-24 form holds it, naming form page `page`
// (0-based); its end position counts from the start of the file.
void append_memo(std::string& form, uint8_t page, const std::string& name, int top,
                 const std::string& text) {
  zr::ByteWriter out;
  out.write_u8(zr::kObjMemo);
  out.write_u8(page);
  const size_t end_at = out.position();
  out.write_u32(0);
  zr::TvtMemoView memo;
  memo.Name = name;
  memo.SetBounds(40, top, 300, 18);
  memo.Memo = {text};
  memo.SaveToStream(out);
  out.patch_u32(end_at, static_cast<uint32_t>(form.size() + out.position()));
  form += out.take();
}

// A memo for form page 10 of a two-page form, then one for page 2 that must still load.
void add_record_for_missing_page(std::string& form) {
  testing_support::EngineEnvironment engine;
  append_memo(form, 9, "Stray", 21, "never printed");
  append_memo(form, 1, "After", 41, "read after the stray record");
}

const std::map<std::string, std::function<void(std::string&)>> kFormPatches = {
    {"record_for_missing_page", add_record_for_missing_page}};

class PrepareGoldenTest : public testing::TestWithParam<std::string> {};

TEST_P(PrepareGoldenTest, DumpMatchesTheExpectedPages) {
  const fs::path source = kReports / GetParam();
  const fs::path work = fs::path(testing::TempDir()) /
                        ("zrtool_prepare_" + std::to_string(getpid()) + "_" + GetParam());
  fs::create_directories(work);
  const std::string form = (work / "form.zrf").string();
  auto built = run_tool("form build " + (source / "form.json").string() + " -o " + form);
  ASSERT_EQ(built.status, 0) << built.output;
  if (auto patch = kFormPatches.find(GetParam()); patch != kFormPatches.end()) {
    std::string bytes = read_text(form);
    patch->second(bytes);
    std::ofstream(form, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::vector<fs::path> packets;
  for (const auto& entry : fs::directory_iterator(source))
    if (entry.path().extension() == ".xml") packets.push_back(entry.path());
  std::sort(packets.begin(), packets.end());
  std::string data;
  for (const fs::path& packet : packets)
    data += " --data " + packet.stem().string() + "=" + packet.string();
  auto prepared =
      run_tool("prepare " + form + data + " -o " + (work / "out.zrw").string() + " --dump");
  fs::remove_all(work);
  ASSERT_EQ(prepared.status, 0) << prepared.output;

  const fs::path expected = source / "expected.txt";
  if (const char* update = std::getenv("ZR_UPDATE_GOLDEN"); update && *update == '1') {
    std::ofstream(expected, std::ios::binary) << prepared.output;
    GTEST_SKIP() << "wrote " << expected;
  }
  EXPECT_EQ(prepared.output, read_text(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Reports, PrepareGoldenTest,
    testing::Values("simple_list", "footer_middle_page", "master_detail", "subset_empty",
                    "nested_groups", "aggregates", "stretch_and_break", "columns", "band_columns",
                    "child_if_invisible", "total_pages_one", "total_pages_two", "script_arrays",
                    "three_levels", "interleaved", "cross_with_footer", "subreports_side",
                    "record_for_missing_page", "continue_page_footer", "continue_two_passes",
                    "continue_then_new_page", "continue_after_full_pages",
                    "continue_mixed_one_pass", "continue_mixed_two_passes", "report_dataset",
                    "field_through_variable", "cross_one_by_one", "cross_subtotals", "cross_wide",
                    "cross_empty", "cross_null_keys", "cross_key_kinds", "chart_groups"));

TEST(PrepareCommandTest, VariablesAndErrors) {
  const fs::path work =
      fs::path(testing::TempDir()) / ("zrtool_prepare_vars_" + std::to_string(getpid()));
  fs::create_directories(work);
  const std::string json = (work / "form.json").string(), form = (work / "form.zrf").string(),
                    out = (work / "out.zrw").string();
  std::ofstream(json) << R"({"Pages": [{"Objects": [
      {"Class": "TvtBandView", "Name": "Title", "BandType": "Report title", "Top": 0, "Height": 20},
      {"Class": "TvtMemoView", "Name": "Text", "Top": 1, "Width": 200, "Height": 18,
       "Memo": ["[Heading] [Missing]"]}]}]})";
  ASSERT_EQ(run_tool("form build " + json + " -o " + form).status, 0);
  // A name nothing defines ends the run with the engine's message.
  auto failed = run_tool("prepare " + form + " --var \"Heading='Sales'\" -o " + out);
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.output.find("Undefined symbol \"MISSING\""), std::string::npos) << failed.output;
  auto prepared = run_tool("prepare " + form + " --var \"Heading='Sales'\" --var Missing=2*3 -o " +
                           out + " --dump");
  EXPECT_EQ(prepared.status, 0) << prepared.output;
  EXPECT_NE(prepared.output.find("line \"Sales 6\""), std::string::npos) << prepared.output;
  EXPECT_EQ(run_tool("prepare " + form + " --data Bad -o " + out).status, 1);
  fs::remove_all(work);
}

// Form and data that miss each other still prepare; stderr says what reached no band.
TEST(PrepareCommandTest, WarnsAboutDataThatReachesNoBand) {
  const fs::path work =
      fs::path(testing::TempDir()) / ("zrtool_prepare_warn_" + std::to_string(getpid()));
  fs::create_directories(work);
  const std::string json = (work / "form.json").string(), form = (work / "form.zrf").string(),
                    out = (work / "out.zrw").string();
  std::ofstream(json) << R"({"Pages": [{"Objects": [
      {"Class": "TvtBandView", "Name": "Title", "BandType": "Report title", "Top": 0, "Height": 20},
      {"Class": "TvtBandView", "Name": "Rows", "BandType": "Master data", "Top": 30,
       "Height": 20, "FormatText": "datasetITEMS"},
      {"Class": "TvtMemoView", "Name": "Text", "Top": 31, "Width": 200, "Height": 18,
       "Memo": ["a row"]},
      {"Class": "TvtChartView", "Name": "Chart1", "Top": 1, "Width": 200, "Height": 18,
       "DataSetName": "ITEMS", "CategoryField": "ID", "Series": [{"Source": "ID"}]},
      {"Class": "TvtChartView", "Name": "Chart2", "Top": 1, "Width": 200, "Height": 18,
       "DataSetName": "ITEMS", "CategoryField": "Day", "Series": [{"Source": "Sum"}]}]}]})";
  ASSERT_EQ(run_tool("form build " + json + " -o " + form).status, 0);
  const std::string packets = std::string(ZR_TEST_DATA_DIR) + "/packets/";
  const std::string chart2 =
      "zrtool prepare: warning: chart \"Chart2\": the dataset \"ITEMS\" has no field ";
  const std::pair<std::string, std::string> cases[] = {
      {"--data ITEMS=" + packets + "korean_utf8.xml", chart2 + "\"Day\"\n" + chart2 + "\"Sum\"\n"},
      {"--data WRONG=" + packets + "korean_utf8.xml",
       "zrtool prepare: warning: band \"Rows\" names the dataset \"datasetITEMS\", which no data "
       "section filled; it walks the report's dataset \"datasetWRONG\" instead\n"
       "zrtool prepare: warning: chart \"Chart1\" names the dataset \"ITEMS\", which no data "
       "section filled\n"
       "zrtool prepare: warning: chart \"Chart2\" names the dataset \"ITEMS\", which no data "
       "section filled\n"},
      {"--data ITEMS=" + packets + "empty_rowdata.xml",
       chart2 + "\"Day\"\n" + chart2 + "\"Sum\"\n" +
           "zrtool prepare: warning: master band \"Rows\" printed no record\n"},
  };
  for (const auto& [data, warnings] : cases) {
    auto run = run_tool("prepare " + form + " " + data + " -o " + out);
    EXPECT_EQ(run.status, 0) << data;
    EXPECT_EQ(run.output, warnings) << data;
    EXPECT_TRUE(fs::exists(out));
    fs::remove(out);
  }
  fs::remove_all(work);
}

}  // namespace
