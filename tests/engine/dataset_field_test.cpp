#include "engine/run/dataset_field.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/model/band_view.h"
#include "engine/model/data_dictionary.h"
#include "engine/run/component_directory.h"
#include "engine/run/current_band_dataset.h"
#include "engine/run/db_dataset.h"
#include "engine/run/report_data_resolver.h"
#include "engine_fixture.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"
#include "platform/table_test_packets.h"

namespace zr {
namespace {

using Strings = std::vector<std::string>;

// The band engine's part: the band being printed and the datasets of the page's data bands.
struct RunningBands : TvtRunningBands {
  std::optional<int> band_type;
  std::map<int, TvtDataset*> data_bands;
  std::optional<int> CurrentBandType() const override { return band_type; }
  TvtDataset* DataBandDataset(int type) const override {
    auto it = data_bands.find(type);
    return it == data_bands.end() ? nullptr : it->second;
  }
};

// The viewer's form owns two client datasets and the report dataset over Orders; a data
// module holds Stock and, one level deeper, Parts.
class DatasetFieldTest : public testing_support::EngineTest {
 protected:
  DatasetFieldTest() {
    testing::load(
        orders,
        R"(<FIELD attrname="ID" fieldtype="i4"/><FIELD attrname="AMOUNT" fieldtype="r8"/>)"
        R"(<FIELD fieldname="Sales Rep" attrname="Rep" fieldtype="string" WIDTH="9"/>)"
        R"(<FIELD fieldname="Ship.To" attrname="Ship" fieldtype="string" WIDTH="9"/>)",
        R"(<ROW ID="7" AMOUNT="12.5" Rep="Kim" Ship="Seoul"/>)");
    testing::load(customers, R"(<FIELD attrname="Name" fieldtype="string" WIDTH="9"/>)",
                  R"(<ROW Name="Lee"/>)");
    testing::load(stock, R"(<FIELD attrname="Qty" fieldtype="i4"/>)", R"(<ROW Qty="3"/>)");
    testing::load(parts, R"(<FIELD attrname="Code" fieldtype="string" WIDTH="4"/>)",
                  R"(<ROW Code="P1"/>)");
    owner.Insert(&orders);
    owner.Insert(&customers);
    owner.Create<TvtDBDataSet>("datasetOrders").SetDataSet(&orders);
    module.Insert(&stock);
    module.Create<TvtComponentContainer>("Sub").Insert(&parts);
    components.SetOwner(&owner);
  }
  ClientDataset orders{"Orders"}, customers{"Customers"}, stock{"Stock"}, parts{"Parts"};
  TvtComponentDirectory components;
  TvtComponentContainer& owner = components.AddContainer("frmViewer");
  TvtComponentContainer& module = components.AddContainer("DataModule1");
};

TEST_F(DatasetFieldTest, FindsFieldsByPath) {
  struct Case {
    const char* text;
    ClientDataset* in;
    const char* field;
    ClientDataset* out;
  };
  const Case cases[] = {
      {"Orders.Amount", nullptr, "Amount", &orders},  // as written, not as the table spells it
      {"ORDERS.id", &customers, "id", &orders},
      {"Amount", nullptr, "", nullptr},  // no current band data set
      {"Amount", &orders, "Amount", &orders},
      {"Orders.\"Sales Rep\"", nullptr, "Sales Rep", &orders},
      {"Orders.\"Ship.To\"", nullptr, "Ship.To", &orders},
      {"Orders.Ship.To", nullptr, "", nullptr},  // two cuts: Orders is no container
      {"Orders.\"\"", nullptr, "", &orders},
      {"Orders.", nullptr, "", &orders},
      {"Orders.Nothing", nullptr, "", &orders},
      {"datasetOrders.ID", nullptr, "", nullptr},  // a report dataset has no field list
      {"DataModule1.Stock.qty", nullptr, "qty", &stock},
      {"DataModule1.Sub.Parts.Code", nullptr, "Code", &parts},
      {"DataModule1.Sub.Parts.Code.X", &orders, "", nullptr},
      {"Nowhere.Stock.Qty", nullptr, "", nullptr},
      {"\"Orders\".Amount", nullptr, "", nullptr},  // the dataset part is never quoted
  };
  for (const Case& c : cases) {
    ClientDataset* dataset = c.in;
    EXPECT_EQ(FindDatasetField(c.text, dataset, components), c.field) << c.text;
    if (*c.field || !c.out) {
      EXPECT_EQ(dataset, c.out) << c.text;
    }
  }
}

TEST_F(DatasetFieldTest, OneNamePathWithoutOwnerIsMissing) {
  components.SetOwner(nullptr);
  ClientDataset* dataset = nullptr;
  try {
    FindDatasetField("Orders.Amount", dataset, components);
    ADD_FAILURE() << "found without an owner";
  } catch (const ZorelError& error) {
    EXPECT_STREQ(error.what(), "Missing Orders");
  }
  dataset = &orders;
  EXPECT_EQ(FindDatasetField("Amount", dataset, components), "Amount");
}

TEST_F(DatasetFieldTest, FieldValuesWithNullDefaults) {
  ClientDataset table("T");
  testing::load(
      table,
      R"(<FIELD attrname="Small" fieldtype="i2"/><FIELD attrname="Int" fieldtype="i4"/>)"
      R"(<FIELD attrname="Word" fieldtype="ui2"/><FIELD attrname="Float" fieldtype="r8"/>)"
      R"(<FIELD attrname="Cur" fieldtype="r8" SUBTYPE="Money"/>)"
      R"(<FIELD attrname="Str" fieldtype="string" WIDTH="5"/>)"
      R"(<FIELD attrname="Flag" fieldtype="boolean"/><FIELD attrname="Day" fieldtype="date"/>)"
      R"(<FIELD attrname="Stamp" fieldtype="dateTime"/><FIELD attrname="Big" fieldtype="i8"/>)"
      R"(<FIELD attrname="Wide" fieldtype="string.uni" WIDTH="10"/>)",
      R"(<ROW/><ROW Small="-3" Int="7" Str="ab" Flag="TRUE" Day="19960615")"
      R"( Word="65535" Float="2.5" Cur="3999.95" Big="9007199254740993" Wide="w"/>)");
  struct Case {
    const char* field;
    Value when_null;
    Value when_set;
  };
  const Case cases[] = {
      {"Small", Value(0), Value::small_int(-3)},
      {"Int", Value(0), Value(7)},
      {"Word", Value(0), Value(65535)},
      {"Float", Value(0), Value(2.5)},
      {"Cur", Value(0), Value(3999.95)},
      {"Str", Value(""), Value("ab")},
      {"Flag", Value(false), Value(true)},
      {"Day", Value::null(), Value::date_time(35231)},
      {"Stamp", Value::null(), Value::null()},
      {"Big", Value(""), Value("9007199254740993")},  // display text keeps every digit
      {"Wide", Value::null(), Value("w")},
  };
  auto check_row = [&](bool nulls) {
    for (const Case& c : cases) {
      const Value got = GetFieldValue(table, c.field);
      EXPECT_TRUE(got.identical(nulls ? c.when_null : c.when_set))
          << c.field << ": " << describe(got);
    }
  };
  table.first();
  check_row(true);
  table.next();
  check_row(false);
  EXPECT_THROW(GetFieldValue(table, "Nothing"), ZorelError);
}

TEST_F(DatasetFieldTest, BlobFields) {
  ClientDataset blobs("Blobs");
  blobs.load_from_file(ZR_TEST_DATA_DIR "/packets/blobs.xml");
  for (const char* field : {"Pic", "Typed", "Data", "notes"})
    EXPECT_TRUE(IsBlobField(&blobs, field));
  for (const char* field : {"Raw", "Nothing"}) EXPECT_FALSE(IsBlobField(&blobs, field)) << field;
  EXPECT_FALSE(IsBlobField(nullptr, "Pic"));
}

TEST_F(DatasetFieldTest, CurrentBandDataSetFollowsTheServingDataBand) {
  TvtDBDataSet master("m"), detail("d"), unbound("u");
  master.SetDataSet(&orders);
  detail.SetDataSet(&customers);
  TvtUserDataset counted;
  RunningBands bands;
  bands.data_bands = {{btMasterData, &master},
                      {btDetailData, &detail},
                      {btSubDetailData, &counted},
                      {btCrossData, &unbound}};
  struct Case {
    std::optional<int> band;
    ClientDataset* expected;
  };
  const Case cases[] = {
      {std::nullopt, nullptr},   {btReportTitle, &orders},   {btPageFooter, &orders},
      {btGroupFooter, &orders},  {btDetailData, &customers}, {btDetailFooter, &customers},
      {btDetailHeader, nullptr}, {btSubDetailData, nullptr},  // not a TvtDBDataSet
      {btCrossFooter, nullptr},  {btOverlay, nullptr},
  };
  for (const Case& c : cases) {
    bands.band_type = c.band;
    EXPECT_EQ(CurrentBandDataSet(&bands), c.expected) << c.band.value_or(-1);
  }
  EXPECT_EQ(CurrentBandDataSet(nullptr), nullptr);
}

TEST_F(DatasetFieldTest, DictionaryReadsRealData) {
  RunningBands bands;
  TvtDBDataSet band_dataset("datasetOrders");
  band_dataset.SetDataSet(&orders);
  bands.data_bands = {{btMasterData, &band_dataset}};
  TvtReportDataResolver resolver(components, &bands);
  TvtDataDictionary dictionary(&resolver);
  dictionary.VariableList.SetVariable(" Sales", Value());
  dictionary.VariableList.SetVariable("Total", Value("Orders.Amount"));

  // Names are resolved (and cached) first, then read.
  auto value_of = [&](const char* name) {
    EXPECT_TRUE(dictionary.VariableExists(name)) << name;
    return dictionary.GetValue(name);
  };
  EXPECT_TRUE(value_of("Orders.Amount").identical(Value(12.5)));
  EXPECT_TRUE(dictionary.GetValue("orders.amount").identical(Value(12.5)));
  EXPECT_TRUE(value_of("Orders.Sales Rep").identical(Value("Kim")));
  EXPECT_TRUE(value_of("Orders.\"Ship.To\"").identical(Value("Seoul")));
  EXPECT_FALSE(dictionary.VariableExists("ID")) << "no band is being printed";
  bands.band_type = btMasterFooter;
  EXPECT_TRUE(value_of("ID").identical(Value(7)));
  // A variable naming a field is cached as that field: read without an expression parser.
  EXPECT_TRUE(dictionary.VariableExists("Total"));
  EXPECT_TRUE(dictionary.GetValue("Total").identical(Value(12.5)));

  EXPECT_EQ(dictionary.GetDatasetList(), (Strings{"Customers", "Orders"}));
  EXPECT_EQ(dictionary.GetFieldList("Orders"), (Strings{"ID", "AMOUNT", "Sales Rep", "Ship.To"}));
  EXPECT_EQ(dictionary.GetFieldList("datasetOrders"), Strings{});
  orders.close();
  EXPECT_EQ(dictionary.GetFieldList("Orders"), Strings{}) << "a closed table has nothing to open";
}

}  // namespace
}  // namespace zr
