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

}  // namespace
