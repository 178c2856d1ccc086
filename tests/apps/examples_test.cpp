// The bundled examples prepare: each data page is cut into sections by the viewer's own
// cutter, the form is built from its JSON, and zrtool prepares the report over the sections.
// The checks are the figures a reader looks at: page count, totals and page numbers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/tool_run.h"
#include "viewer/section_cutter.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::run_tool;

struct Example {
  std::string folder;
  std::string form;
  std::string variables;  // --var options
  int pages;
  std::vector<std::string> lines;  // prepared text lines that must be there
  // Text lines that follow each other on page 2: the headers a continued group repeats.
  std::vector<std::string> page_two = {};
  std::vector<std::string> dump_lines = {};  // other lines of the dump (charts' points)
};

// The text lines of page `number` of a prepared dump, in order.
std::vector<std::string> page_lines(const std::string& dump, int number) {
  std::vector<std::string> lines;
  std::istringstream in(dump);
  const std::string head = "page " + std::to_string(number) + ":";
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("page ")) inside = line.starts_with(head);
    const std::string prefix = "    line \"";
    if (inside && line.starts_with(prefix))
      lines.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
  }
  return lines;
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ExampleTest : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleTest, PreparesWithItsTotalsAndPageNumbers) {
  const Example& example = GetParam();
  const fs::path source = fs::path(ZR_EXAMPLES_DIR) / example.folder;
  const fs::path work = fs::path(::testing::TempDir()) /
                        ("example_" + example.folder + "_" + std::to_string(getpid()));
  fs::remove_all(work);

  SectionCutter cutter(WorkFolder(work), "120000");
  cutter.cut_data_page(read_text(source / "data_page.html"));
  std::string data;
  for (const std::string& name : cutter.section_names())
    data += " --data " + name + "=" + cutter.section_file(name).string();

  const std::string form = (work / "form.zrf").string();
  auto built = run_tool("form build " + (source / example.form).string() + " -o " + form);
  ASSERT_EQ(built.status, 0) << built.output;
  auto prepared = run_tool("prepare " + form + data + " " + example.variables + " -o " +
                           (work / "out.zrw").string() + " --dump");
  fs::remove_all(work);
  ASSERT_EQ(prepared.status, 0) << prepared.output;

  EXPECT_TRUE(prepared.output.starts_with("pages " + std::to_string(example.pages) + "\n"))
      << prepared.output.substr(0, 20);
  for (const std::string& line : example.lines)
    EXPECT_NE(prepared.output.find("    line \"" + line + "\"\n"), std::string::npos) << line;
  for (const std::string& line : example.dump_lines)
    EXPECT_NE(prepared.output.find("\n" + line + "\n"), std::string::npos) << line;
  if (!example.page_two.empty()) {
    const std::vector<std::string> lines = page_lines(prepared.output, 2);
    EXPECT_NE(
        std::search(lines.begin(), lines.end(), example.page_two.begin(), example.page_two.end()),
        lines.end())
        << ::testing::PrintToString(lines);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bundled, ExampleTest,
    ::testing::Values(
        Example{"sales",
                "sales_form.json",
                "",
                2,
                {"2026년 상반기 매출 현황", "■ 서울 지역", "1001  한빛상사   담당: 김민준",
                 "소계  5건   6,229,000", "지역 합계  판매 15건   20,704,500",
                 "지역 합계  판매 16건   24,476,500", "지역 합계  판매 16건   21,042,500",
                 "총계  판매 47건   66,223,500원", "1 / 2 쪽", "2 / 2 쪽"},
                // A customer whose lines continue on page 2 is named there again, under its
                // region, before the first of those lines.
                {"금액", "■ 경기 지역", "2003  판교소프트   담당: 윤서준", "50027"}},
        // Params reach the form as dictionary variables; --var sets them the same way.
        Example{"stock",
                "stock_form.json",
                "--var \"Title='3월 재고 현황'\" --var \"Warehouse='제2창고'\"",
                1,
                {"3월 재고 현황", "보관 장소: 제2창고", "S-0140", "품목 40개",
                 "재고 금액 합계 146,756,700원", "- 1 / 1 -"}},
        // The same sales as a cross table of regions by months and two charts reading
        // their own sections by name.
        Example{"summary",
                "summary_form.json",
                "",
                1,
                {"2026년 상반기 지역별 월 매출", "2026-01", "2026-06", "경기", "12,372,500",
                 "24,476,500", "15,875,000", "66,223,500"},
                {},
                {"    chart bar categories \"2026-01\" \"2026-02\" \"2026-03\" \"2026-04\" "
                 "\"2026-05\" \"2026-06\"",
                 "    series \"서울\" 5698000 1481000 7413000 1289500 2060000 2763000",
                 "    chart pie categories \"서울\" \"부산\" \"경기\"",
                 "    series \"매출\" 20704500 21042500 24476500"}},
        Example{"orders",
                "orders_form.json",
                "",
                1,
                {"고객별 주문 현황", "1001  한빛상사 (서울)", "853.60", "1 / 1"}}),
    [](const ::testing::TestParamInfo<Example>& info) { return info.param.folder; });

}  // namespace
}  // namespace zr
