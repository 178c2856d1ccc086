// zrtool page against the bundled example data page: the tool a report writer uses to see
// what the viewer makes of a data page.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/tool_run.h"

namespace {

using zr::testing_support::run_tool;

const std::string kExamplePage =
    std::string(ZR_TEST_DATA_DIR) + "/../../examples/orders/data_page.html";

TEST(PageToolTest, PrintsMasterAndDetailOfTheExamplePage) {
  auto run = run_tool("page " + kExamplePage +
                      " --relation 'DATADETAIL/DSDATAMASTER/CustNo;OrderNo/OrderNo/CustNo'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("== DATAMASTER (6 rows)\nCustNo ftInteger\n"), std::string::npos);
  EXPECT_NE(run.output.find("1001,한빛상사,서울,2011-01-15\n"), std::string::npos);
  EXPECT_NE(run.output.find("== DATADETAIL (detail of DSDATAMASTER)"), std::string::npos);
  // Orders of the first customer, newest first, as the descending relation asks.
  EXPECT_NE(run.output.find("1,5003,1001,"), std::string::npos);
  EXPECT_LT(run.output.find("1,5003,1001,"), run.output.find("1,5001,1001,"));
}

TEST(PageToolTest, BadSectionNameStopsWithAClearError) {
  std::string page = testing::TempDir() + "bad_page_" + std::to_string(getpid()) + ".txt";
  FILE* file = fopen(page.c_str(), "w");
  fputs("<DATAPACKET/>\nDATANAME=../../x\n", file);
  fclose(file);
  auto run = run_tool("page " + page);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Invalid section name \"../../X\""), std::string::npos) << run.output;
}

// What the viewer would skip in silence is an error of the tool: a page without sections, a
// --relation that cannot link anything.
TEST(PageToolTest, NothingToShowIsAnError) {
  std::string empty = testing::TempDir() + "no_sections_" + std::to_string(getpid()) + ".html";
  FILE* file = fopen(empty.c_str(), "w");
  fputs("<html><body><PRE>\nno sections\n</PRE></body></html>\n", file);
  fclose(file);
  const std::pair<std::string, std::string> cases[] = {
      {"page " + empty, "zrtool page: " + empty +
                            " holds no data section (the lines of a "
                            "section end with a line DATANAME=name)\n"},
      {"page " + kExamplePage + " --relation DATADETAIL/DSDATAMASTER",
       "zrtool page: --relation 'DATADETAIL/DSDATAMASTER' needs five fields: "
       "DETAIL/DSMASTER/INDEX FIELDS/DESCENDING FIELDS/MASTER FIELDS\n"},
      {"page " + kExamplePage + " --relation 'ORDERS/DSDATAMASTER/CustNo//CustNo'",
       "zrtool page: --relation 'ORDERS/DSDATAMASTER/CustNo//CustNo': the page has no section "
       "ORDERS\n"},
      {"page " + kExamplePage + " --relation 'DATADETAIL/DATAMASTER/CustNo//CustNo'",
       "zrtool page: --relation 'DATADETAIL/DATAMASTER/CustNo//CustNo': DATAMASTER is no data "
       "source (DS and the name of a section of the page)\n"},
  };
  for (const auto& [arguments, message] : cases) {
    auto run = run_tool(arguments);
    EXPECT_EQ(run.status, 1) << arguments;
    EXPECT_EQ(run.output, message) << arguments;
  }
  std::remove(empty.c_str());
}

}  // namespace
