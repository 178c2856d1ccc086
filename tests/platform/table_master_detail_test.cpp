#include <gtest/gtest.h>

#include <memory>

#include "platform/errors.h"
#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"
#include "platform/table_test_packets.h"

namespace zr {
namespace {

using testing::column;
using testing::load;
using testing::Texts;

const char* kMasterFields =
    R"(<FIELD attrname="ID" fieldtype="i4"/><FIELD attrname="Name" fieldtype="string"/>)";
const char* kMasterRows =
    R"(<ROW ID="1" Name="A"/><ROW ID="2" Name="B"/><ROW ID="3" Name="C"/><ROW ID="4" Name="D"/>)";

std::string detail_fields(const std::string& cust_type) {
  return R"(<FIELD attrname="CustID" fieldtype=")" + cust_type +
         R"("/><FIELD attrname="OrderNo" fieldtype="i4"/>)";
}
const char* kDetailRows =
    R"(<ROW CustID="2" OrderNo="20"/><ROW CustID="1" OrderNo="11"/><ROW CustID="4" OrderNo="40"/>)"
    R"(<ROW CustID="1" OrderNo="12"/><ROW CustID="2" OrderNo="21"/><ROW CustID="1" OrderNo="10"/>)"
    R"(<ROW OrderNo="99"/>)";

// Applies a relation record the way the viewer does: detail / data source / index fields /
// descending fields / master fields.
void relate(ClientDataset& detail, DataSource& source, const std::string& index_fields,
            const std::string& descending, const std::string& master_fields) {
  detail.set_data_source(&source);
  for (const std::string& name : detail.index_names())
    if (name == "inx") detail.delete_index("inx");
  IndexOptions options;
  options.descending = !descending.empty();
  detail.add_index("inx", index_fields, options, descending);
  detail.set_index_name("inx");
  detail.set_master_fields(master_fields);
}

class MasterDetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    load(master, kMasterFields, kMasterRows);
    load(detail, detail_fields("i2"), kDetailRows);
  }
  // The detail's order numbers for each master record in turn.
  std::vector<Texts> walk() {
    std::vector<Texts> all;
    for (master.first(); !master.eof(); master.next()) all.push_back(column(detail, "OrderNo"));
    return all;
  }
  ClientDataset master{"DATAMASTER"};
  ClientDataset detail{"DATADETAIL"};
  DataSource source{"DSDATAMASTER", &master};
};

TEST_F(MasterDetailTest, DetailFollowsTheMasterInIndexOrder) {
  relate(detail, source, "CustID", "", "ID");
  EXPECT_EQ(walk(), (std::vector<Texts>{{"11", "12", "10"}, {"20", "21"}, {}, {"40"}}));
  relate(detail, source, "CustID;OrderNo", "", "ID");
  EXPECT_EQ(walk(), (std::vector<Texts>{{"10", "11", "12"}, {"20", "21"}, {}, {"40"}}));
  relate(detail, source, "CustID;OrderNo", "OrderNo", "ID");
  EXPECT_EQ(walk(), (std::vector<Texts>{{"12", "11", "10"}, {"21", "20"}, {}, {"40"}}));
  relate(detail, source, "CustID;OrderNo", "CustID;OrderNo", "ID");  // all descending
  EXPECT_EQ(walk(), (std::vector<Texts>{{"12", "11", "10"}, {"21", "20"}, {}, {"40"}}));
  relate(detail, source, "CustID", "CustID", "ID");
  EXPECT_EQ(walk(), (std::vector<Texts>{{"11", "12", "10"}, {"20", "21"}, {}, {"40"}}));
}

TEST_F(MasterDetailTest, DetailFollowsEveryMoveOfTheMaster) {
  relate(detail, source, "CustID;OrderNo", "", "ID");
  master.first();
  detail.next();
  EXPECT_EQ(detail.value("OrderNo").raw_int(), 11);
  master.next();  // the detail goes to its first matching row
  EXPECT_EQ(detail.recno(), 1u);
  EXPECT_EQ(detail.value("OrderNo").raw_int(), 20);
  EXPECT_EQ(detail.record_count(), 2u);
  master.last();
  EXPECT_EQ(column(detail, "OrderNo"), (Texts{"40"}));
  master.prior();
  EXPECT_EQ(detail.record_count(), 0u);
  EXPECT_TRUE(detail.eof() && detail.bof());
  EXPECT_TRUE(detail.value("OrderNo").is_null());
  master.next();
  master.next();  // past the end
  EXPECT_TRUE(master.eof());
  EXPECT_EQ(detail.record_count(), 0u);
  master.prior();
  EXPECT_EQ(master.value("ID").raw_int(), 3);

  master.first();
  Bookmark second = master.get_bookmark();
  master.last();
  master.goto_bookmark(second);  // master at ID 1
  EXPECT_EQ(column(detail, "OrderNo"), (Texts{"10", "11", "12"}));

  master.next();  // ID 2; a new master order keeps the master's record
  master.add_index("byName", "Name", {.descending = true});
  master.set_index_name("byName");
  EXPECT_EQ(master.value("ID").raw_int(), 2);
  EXPECT_EQ(column(detail, "OrderNo"), (Texts{"20", "21"}));

  master.empty();
  EXPECT_EQ(detail.record_count(), 0u);
  load(master, kMasterFields, kMasterRows);  // reload: the link stays
  EXPECT_EQ(column(detail, "OrderNo"), (Texts{"10", "11", "12"}));
  master.close();
  EXPECT_EQ(detail.record_count(), 0u);
  EXPECT_TRUE(detail.is_open());
}

TEST_F(MasterDetailTest, BookmarkOutsideTheDetailViewIsRefused) {
  relate(detail, source, "CustID", "", "ID");
  master.first();
  Bookmark of_one = detail.get_bookmark();
  master.next();
  try {
    detail.goto_bookmark(of_one);
    FAIL() << "went to a row the view does not show";
  } catch (const ZorelError& e) {
    EXPECT_NE(std::string(e.what()).find("Record not found"), std::string::npos);
  }
  EXPECT_EQ(detail.value("OrderNo").raw_int(), 20);  // unchanged
  master.first();
  detail.goto_bookmark(of_one);
  EXPECT_EQ(detail.value("OrderNo").raw_int(), 11);
}

TEST_F(MasterDetailTest, KeysMatchAcrossNumericAndTextTypes) {
  for (const char* type : {"i2", "i4", "i8", "ui4", "r8", "fixed", "string"}) {
    load(detail, detail_fields(type), kDetailRows);
    relate(detail, source, "CustID;OrderNo", "", "ID");
    EXPECT_EQ(walk(), (std::vector<Texts>{{"10", "11", "12"}, {"20", "21"}, {}, {"40"}})) << type;
  }
  // A real master key meets an integer detail key, and a text key meets numbers.
  ClientDataset reals("reals");
  load(reals, R"(<FIELD attrname="ID" fieldtype="r8"/><FIELD attrname="S" fieldtype="string"/>)",
       R"(<ROW ID="2" S="1"/><ROW ID="2.5" S="x"/>)");
  DataSource real_source("DSREALS", &reals);
  load(detail, detail_fields("i4"), kDetailRows);
  relate(detail, real_source, "CustID;OrderNo", "", "ID");
  reals.first();
  EXPECT_EQ(column(detail, "OrderNo"), (Texts{"20", "21"}));
  reals.next();  // 2.5 matches no integer
  EXPECT_EQ(detail.record_count(), 0u);
  relate(detail, real_source, "CustID;OrderNo", "", "S");
  reals.first();  // "1" against integers
  EXPECT_EQ(column(detail, "OrderNo"), (Texts{"10", "11", "12"}));
  reals.next();  // "x" is no number: nothing matches
  EXPECT_EQ(detail.record_count(), 0u);
}

TEST_F(MasterDetailTest, WithoutAnIndexFieldsMatchByName) {
  load(detail, R"(<FIELD attrname="ID" fieldtype="i2"/><FIELD attrname="OrderNo" fieldtype="i4"/>)",
       R"(<ROW ID="2" OrderNo="20"/><ROW ID="1" OrderNo="12"/><ROW ID="1" OrderNo="10"/>)");
  detail.set_data_source(&source);
  detail.set_master_fields("ID");
  EXPECT_EQ(walk(), (std::vector<Texts>{{"12", "10"}, {"20"}, {}, {}}));  // packet order
  detail.set_master_fields("");                                           // unlinked: every row
  EXPECT_EQ(column(detail, "OrderNo"), (Texts{"20", "12", "10"}));
  EXPECT_THROW(detail.set_master_fields("Name"), ZorelError);  // no such detail field
  try {
    detail.set_master_fields("Nope");
    FAIL();
  } catch (const ZorelError& e) {
    EXPECT_STREQ(e.what(), "DATAMASTER: Field 'Nope' not found");
  }
}

TEST_F(MasterDetailTest, ChainsFollowThroughEveryLevel) {
  relate(detail, source, "CustID;OrderNo", "", "ID");
  ClientDataset items("ITEMS");
  load(items,
       R"(<FIELD attrname="OrderNo" fieldtype="i4"/><FIELD attrname="Item" fieldtype="string"/>)",
       R"(<ROW OrderNo="20" Item="x"/><ROW OrderNo="10" Item="a"/><ROW OrderNo="10" Item="b"/>)"
       R"(<ROW OrderNo="11" Item="c"/>)");
  DataSource orders("DSDATADETAIL", &detail);
  relate(items, orders, "OrderNo", "", "OrderNo");
  master.first();
  EXPECT_EQ(column(items, "Item"), (Texts{"a", "b"}));  // detail on order 10
  detail.first();
  detail.next();
  EXPECT_EQ(column(items, "Item"), (Texts{"c"}));
  master.next();  // order 20 first
  EXPECT_EQ(column(items, "Item"), (Texts{"x"}));
  master.next();  // no orders: no items
  EXPECT_EQ(items.record_count(), 0u);
  EXPECT_THROW(master.set_data_source(&orders), ZorelError);  // circular
  EXPECT_THROW(source.set_dataset(&items), ZorelError);
}

TEST_F(MasterDetailTest, DestroyingEitherSideLeavesNoDanglingLink) {
  auto owned_master = std::make_unique<ClientDataset>("M");
  load(*owned_master, kMasterFields, kMasterRows);
  auto owned_source = std::make_unique<DataSource>("DSM", owned_master.get());
  relate(detail, *owned_source, "CustID", "", "ID");
  EXPECT_EQ(detail.record_count(), 3u);
  owned_master.reset();  // the data source forgets it; the detail shows all rows
  EXPECT_EQ(owned_source->dataset(), nullptr);
  EXPECT_EQ(detail.record_count(), 7u);
  owned_source.reset();
  EXPECT_EQ(detail.data_source(), nullptr);
  EXPECT_EQ(detail.record_count(), 7u);

  {
    ClientDataset short_lived("S");
    load(short_lived, detail_fields("i2"), kDetailRows);
    relate(short_lived, source, "CustID", "", "ID");
  }
  master.next();  // must not touch the destroyed detail
  EXPECT_EQ(master.value("ID").raw_int(), 2);
}

}  // namespace
}  // namespace zr
