#include "engine/run/db_dataset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/run/component_directory.h"
#include "engine_fixture.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"
#include "platform/table_test_packets.h"

namespace zr {
namespace {

using Ids = std::vector<int>;

// A whole walk: the ID of every record passed, with a limit so that an endless walk fails.
Ids Walk(TvtDBDataSet& dataset, int limit = 20) {
  Ids ids;
  dataset.StartIteration();
  for (dataset.First(); !dataset.Eof() && limit-- > 0; dataset.Next()) {
    ids.push_back(dataset.SourceDataSet().value("ID").to_int());
  }
  dataset.EndIteration();
  return ids;
}

class DBDataSetTest : public testing_support::EngineTest {
 protected:
  DBDataSetTest() {
    testing::load(orders, R"(<FIELD attrname="ID" fieldtype="i4"/>)",
                  R"(<ROW ID="1"/><ROW ID="2"/><ROW ID="3"/><ROW ID="4"/>)");
    dataset.SetDataSet(&orders);
  }
  // Leaves the cursor on the record with that ID.
  void MoveTo(int id) {
    for (orders.first(); orders.value("ID").to_int() != id; orders.next()) {
    }
  }
  ClientDataset orders{"Orders"};
  TvtDBDataSet dataset{"datasetOrders"};
};

TEST_F(DBDataSetTest, RangesChooseTheRecordsAndWhereTheCursorStays) {
  struct Case {
    TRangeBegin begin;
    TRangeEnd end;
    int count;
    Ids walked;
    int after;  // ID current after the walk
    bool eof_after;
  };
  const Case cases[] = {
      {rbFirst, reLast, 0, {1, 2, 3, 4}, 4, true},   // stays at the end
      {rbCurrent, reLast, 0, {3, 4}, 3, false},      // from the current record, restored
      {rbCurrent, reCurrent, 0, {3}, 3, false},      // exactly the current record, restored
      {rbFirst, reCurrent, 0, {1, 2, 3}, 3, false},  // up to the current record, not for ever
      {rbFirst, reCount, 2, {1, 2}, 3, false},       // counted; the last Next moved on
      {rbCurrent, reCount, 9, {3, 4}, 3, false},     // the data set ends first
  };
  for (const Case& c : cases) {
    MoveTo(3);
    dataset.RangeBegin = c.begin;
    dataset.RangeEnd = c.end;
    dataset.RangeEndCount = c.count;
    EXPECT_EQ(Walk(dataset), c.walked) << int(c.begin) << "/" << int(c.end);
    EXPECT_EQ(orders.value("ID").to_int(), c.after) << int(c.begin) << "/" << int(c.end);
    EXPECT_EQ(orders.eof(), c.eof_after) << int(c.begin) << "/" << int(c.end);
  }
}

TEST_F(DBDataSetTest, RecordNumbersAndEventsOfAWalk) {
  std::vector<std::string> calls;
  dataset.OnOpen = [&](TvtDataset&) { calls.push_back("open"); };
  dataset.OnFirst = [&](TvtDataset&) { calls.push_back("first"); };
  dataset.OnNext = [&](TvtDataset& d) { calls.push_back("next" + std::to_string(d.RecNo())); };
  dataset.OnClose = [&](TvtDataset&) { calls.push_back("close"); };
  dataset.RangeEnd = reCurrent;
  dataset.RangeBegin = rbCurrent;
  MoveTo(2);
  Walk(dataset);
  EXPECT_EQ(dataset.RecNo(), 0) << "the current range never counts a Next";
  EXPECT_EQ(calls, (std::vector<std::string>{"open", "first", "close"}));

  calls.clear();
  dataset.RangeEnd = reLast;
  dataset.RangeBegin = rbFirst;
  Walk(dataset);
  dataset.Prior();
  EXPECT_EQ(dataset.RecNo(), 3);
  EXPECT_EQ(orders.value("ID").to_int(), 3);
  EXPECT_EQ(calls, (std::vector<std::string>{"open", "first", "next1", "next2", "next3", "next4",
                                             "close"}));
}

TEST_F(DBDataSetTest, EmptyDataSetWalksNothingInEveryRange) {
  orders.empty();
  for (TRangeBegin begin : {rbFirst, rbCurrent}) {
    for (TRangeEnd end : {reLast, reCurrent, reCount}) {
      dataset.RangeBegin = begin;
      dataset.RangeEnd = end;
      dataset.RangeEndCount = 5;
      EXPECT_EQ(Walk(dataset), Ids{}) << int(begin) << "/" << int(end);
    }
  }
}

TEST_F(DBDataSetTest, BindingAndOpeningTheSource) {
  DataSource source("DSOrders", &orders);
  dataset.SetDataSource(&source);
  EXPECT_EQ(dataset.DataSet(), nullptr);
  EXPECT_EQ(&dataset.SourceDataSet(), &orders);
  dataset.SetDataSource(nullptr);
  dataset.SetDataSet(&orders);
  dataset.SetDataSource(nullptr);
  EXPECT_EQ(dataset.DataSet(), &orders) << "clearing the source keeps the data set";

  dataset.CloseDataSource = true;
  EXPECT_EQ(Walk(dataset).size(), 4u);
  EXPECT_FALSE(orders.is_open());
  // Opening is the table's business: a closed client dataset has nothing to open again.
  EXPECT_THROW(dataset.StartIteration(), ZorelError);

  TvtDBDataSet unbound("datasetNone");
  try {
    unbound.StartIteration();
    ADD_FAILURE() << "an unbound dataset started";
  } catch (const ZorelError& error) {
    EXPECT_STREQ(error.what(), "Unable to open dataset datasetNone");
  }
}

TEST_F(DBDataSetTest, MasterAndDetailThroughADataSource) {
  ClientDataset customers("Customers");
  testing::load(customers, R"(<FIELD attrname="ID" fieldtype="i4"/>)",
                R"(<ROW ID="10"/><ROW ID="20"/><ROW ID="30"/>)");
  ClientDataset items("Items");
  testing::load(items,
                R"(<FIELD attrname="ID" fieldtype="i4"/><FIELD attrname="CustID" fieldtype="i4"/>)",
                R"(<ROW ID="1" CustID="30"/><ROW ID="2" CustID="10"/><ROW ID="3" CustID="30"/>)");
  DataSource ds_customers("DSCustomers", &customers);
  items.add_index("inx", "CustID");
  items.set_index_name("inx");
  items.set_data_source(&ds_customers);
  items.set_master_fields("ID");

  TvtDBDataSet master("datasetCustomers");
  master.SetDataSource(&ds_customers);
  TvtDBDataSet detail("datasetItems");
  detail.SetDataSet(&items);

  std::vector<std::string> lines;
  master.StartIteration();
  detail.StartIteration();
  for (master.First(); !master.Eof(); master.Next()) {
    std::string line = customers.value("ID").to_string() + ":";
    for (detail.First(); !detail.Eof(); detail.Next()) line += items.value("ID").to_string();
    lines.push_back(line);
  }
  detail.EndIteration();
  master.EndIteration();
  EXPECT_EQ(lines, (std::vector<std::string>{"10:2", "20:", "30:13"}));
}

TEST_F(DBDataSetTest, ComponentsLeavingTheirContainerAreForgotten) {
  TvtComponentDirectory components;
  TvtComponentContainer& form = components.AddContainer("frmViewer");
  TvtComponentContainer& module = components.AddContainer("DataModule1");
  auto& table = module.Create<ClientDataset>("Orders");
  auto& source = module.Create<TvtComponentContainer>("Sub").Create<DataSource>("DSOrders", &table);
  auto& by_table = form.Create<TvtDBDataSet>("datasetOrders");
  auto& by_source = form.Create<TvtDBDataSet>("datasetDS");
  by_table.SetDataSet(&table);
  by_source.SetDataSource(&source);
  form.Insert(&dataset);  // listed, kept by the fixture
  dataset.SetDataSet(&table);

  module.Remove(module.Find("Sub"));
  EXPECT_EQ(by_source.GetDataSource(), nullptr);
  EXPECT_EQ(by_table.DataSet(), &table);
  module.Remove(&table);
  EXPECT_EQ(by_table.DataSet(), nullptr);
  EXPECT_EQ(dataset.DataSet(), nullptr);
  EXPECT_THROW(by_table.StartIteration(), ZorelError);
  form.Remove(&dataset);
}

}  // namespace
}  // namespace zr
