#include "viewer/section_datasets.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "viewer/section_cutter.h"

namespace zr {
namespace {

std::string packet(const std::string& fields, const std::string& rows) {
  return "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA>"
         "<FIELDS>" +
         fields + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

// A data page as a server sends it: markup before the first packet, master and detail.
std::string data_page() {
  std::string master = packet(
      "<FIELD attrname=\"CustNo\" fieldtype=\"i4\"/><FIELD attrname=\"Name\" fieldtype=\"string\" "
      "WIDTH=\"10\"/>",
      "<ROW CustNo=\"2\" Name=\"B\"/><ROW CustNo=\"1\" Name=\"A\"/><ROW CustNo=\"3\" Name=\"C\"/>");
  std::string detail = packet(
      "<FIELD attrname=\"OrderNo\" fieldtype=\"i4\"/><FIELD attrname=\"CustNo\" fieldtype=\"i2\"/>",
      "<ROW OrderNo=\"10\" CustNo=\"1\"/><ROW OrderNo=\"11\" CustNo=\"2\"/>"
      "<ROW OrderNo=\"12\" CustNo=\"1\"/><ROW OrderNo=\"13\" CustNo=\"1\"/>");
  return "<html><body>\r\n<PRE>\r\n" + master + "\r\nDATANAME=M\r\n" + detail +
         "\r\ndataname=d\r\n</PRE></body></html>\r\n";
}

class SectionDatasetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("zr_sd_" + std::to_string(getpid()));
    std::filesystem::remove_all(root_);
    SectionCutter cutter(WorkFolder(root_), "101500");
    cutter.cut_data_page(data_page());
    for (const std::string& name : cutter.section_names())
      datasets_.load_section(name, cutter.section_file(name));
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  std::vector<int> detail_orders() {
    ClientDataset& detail = *datasets_.find_dataset("DATADETAIL");
    std::vector<int> orders;
    for (detail.first(); !detail.eof(); detail.next())
      orders.push_back(detail.value("OrderNo").to_int());
    return orders;
  }

  std::filesystem::path root_;
  SectionDatasets datasets_;
};

TEST_F(SectionDatasetsTest, SectionsOfAPageBecomeDatasetsWithTheirDataSources) {
  EXPECT_EQ(datasets_.names(), (std::vector<std::string>{"DATAMASTER", "DATADETAIL"}));
  ASSERT_NE(datasets_.find_dataset("datamaster"), nullptr);
  EXPECT_EQ(datasets_.find_dataset("datamaster")->record_count(), 3u);
  ASSERT_NE(datasets_.find_source("dsDataMaster"), nullptr);
  EXPECT_EQ(datasets_.find_source("DSDATAMASTER")->dataset(), datasets_.find_dataset("DATAMASTER"));
  EXPECT_EQ(datasets_.find_source("DATAMASTER"), nullptr);
  // A second load of the same section reuses the component.
  EXPECT_EQ(&datasets_.dataset_for("DataMaster"), datasets_.find_dataset("DATAMASTER"));
}

TEST_F(SectionDatasetsTest, RelationRecordsLinkDetailToMaster) {
  ClientDataset& master = *datasets_.find_dataset("DATAMASTER");
  datasets_.apply_relations({"DATADETAIL/DSDATAMASTER/CustNo//CustNo"});
  master.first();  // CustNo 2
  EXPECT_EQ(detail_orders(), (std::vector<int>{11}));
  master.next();  // CustNo 1
  EXPECT_EQ(detail_orders(), (std::vector<int>{10, 12, 13}));
  master.next();  // CustNo 3: no orders
  EXPECT_TRUE(detail_orders().empty());

  // Applying again replaces the index "inx"; field 4 makes it descending.
  datasets_.apply_relations({"DATADETAIL / DSDATAMASTER / CustNo;OrderNo / OrderNo / CustNo"});
  master.first();
  master.next();
  EXPECT_EQ(detail_orders(), (std::vector<int>{13, 12, 10}));
  EXPECT_EQ(datasets_.find_dataset("DATADETAIL")->index_name(), "inx");
}

TEST_F(SectionDatasetsTest, RelationsNamingMissingComponentsAreSkipped) {
  datasets_.apply_relations({" ", "DATADETAIL/DSNOTHERE/CustNo//CustNo",
                             "NOTHERE/DSDATAMASTER/CustNo//CustNo",
                             "DATADETAIL/DSDATAMASTER/CustNo"});
  EXPECT_EQ(detail_orders(), (std::vector<int>{10, 11, 12, 13}));
  EXPECT_THROW(datasets_.apply_relations({"DATADETAIL/DSDATAMASTER/Nope//CustNo"}), ZorelError);
}

TEST_F(SectionDatasetsTest, AFailedLoadLeavesTheDatasetClosed) {
  auto bad = root_ / "bad";
  { std::ofstream(bad) << "<html>no packet here</html>"; }
  EXPECT_THROW(datasets_.load_section("DATAMASTER", bad), FormatError);
  EXPECT_FALSE(datasets_.find_dataset("DATAMASTER")->is_open());
}

}  // namespace
}  // namespace zr
