#pragma once
// The two-page sample the picture, HTML and RTF exports are checked with
// (tests/data/output/export_sample: Korean and Latin texts, a framed and filled memo, a
// line, a picture, a landscape second page), built with zrtool and prepared with the
// engine's fixed clock, plus a work folder of the test's own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/engine_fixture.h"
#include "engine/report/report.h"
#include "platform/byte_stream.h"
#include "support/tool_run.h"

namespace zr::export_testing {

namespace fs = std::filesystem;

inline const fs::path kExportSample = fs::path(ZR_TEST_DATA_DIR) / "output" / "export_sample";

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline testing_support::ToolResult Shell(const std::string& command_line) {
  return testing_support::run_command(command_line);
}

// Whether ZR_UPDATE_GOLDEN=1 asks to write the expected files instead of comparing.
inline bool UpdatingGolden() {
  const char* update = std::getenv("ZR_UPDATE_GOLDEN");
  return update && *update == '1';
}

// A BMP whose header promises 100 x 100 pixels that are not there.
inline std::string TruncatedBmp() {
  ByteWriter out;
  out.write_bytes("BM");
  for (uint32_t v : {54u + 30000u, 0u, 54u, 40u, 100u, 100u}) out.write_u32(v);
  out.write_u16(1);
  out.write_u16(24);
  for (int i = 0; i < 6; ++i) out.write_u32(0);
  return std::string(out.bytes());
}

inline void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class SampleExportTest : public ::testing_support::EngineTest {
 protected:
  fs::path work;

  void SetUp() override {
    work = fs::path(::testing::TempDir()) /
           (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(work);
  }

  // The sample, prepared into `report` (and saved as sample.zrw for zrtool render).
  void PrepareSample(TvtReport& report) {
    const std::string form = (work / "sample.zrf").string();
    auto built = testing_support::run_tool("form build " + (kExportSample / "form.json").string() +
                                           " -o " + form);
    ASSERT_EQ(built.status, 0) << built.output;
    const std::string bytes = ReadFile(form);
    ByteReader reader(std::string_view(bytes), form);
    report.ShowProgress = false;
    report.LoadFromStream(reader);
    ASSERT_TRUE(report.PrepareReport());
    ASSERT_EQ(report.EMFPages.Count(), 2);
  }

  // zrtool's drawing of page `page` (1-based) of a saved prepared report, as PNG.
  fs::path RenderPage(const fs::path& prepared, int page) {
    const fs::path png = work / ("render" + std::to_string(page) + ".png");
    auto drawn = testing_support::run_tool("render " + prepared.string() + " --page " +
                                           std::to_string(page) + " -o " + png.string());
    EXPECT_EQ(drawn.status, 0) << drawn.output;
    return png;
  }
};

}  // namespace zr::export_testing
