#include "engine/run/report_dataset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/run/band_dataset.h"
#include "engine/run/component_directory.h"
#include "engine_fixture.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace zr {
namespace {

// The record numbers of one pass; stops at `limit` so that a walk that never ends fails.
std::vector<int> Pass(TvtDataset& dataset, int limit = 50) {
  std::vector<int> numbers;
  for (dataset.First(); !dataset.Eof() && limit-- > 0; dataset.Next()) {
    numbers.push_back(dataset.RecNo());
  }
  return numbers;
}

// Counts the walk's start and end, as the band engine's calls must pair up.
class TracedDataset : public TvtUserDataset {
 public:
  using TvtUserDataset::TvtUserDataset;
  void StartIteration() override { ++starts; }
  void EndIteration() override { ++ends; }
  int starts = 0, ends = 0;
};

using ReportDatasetTest = testing_support::EngineTest;

TEST_F(ReportDatasetTest, CountRangeGivesThatManyPasses) {
  struct Case {
    int count;
    std::vector<int> numbers;
  };
  for (const Case& c : {Case{3, {0, 1, 2}}, Case{1, {0}}, Case{0, {}}}) {
    TvtUserDataset dataset;
    dataset.RangeEnd = reCount;
    dataset.RangeEndCount = c.count;
    EXPECT_EQ(Pass(dataset), c.numbers) << c.count;
    EXPECT_EQ(Pass(dataset), c.numbers) << "a second pass starts over";
  }
}

TEST_F(ReportDatasetTest, EventsFollowTheCursorButNotPastTheCount) {
  TvtUserDataset dataset;
  dataset.RangeEnd = reCount;
  dataset.RangeEndCount = 3;
  std::vector<std::string> calls;
  dataset.OnFirst = [&](TvtDataset& d) { calls.push_back("first" + std::to_string(d.RecNo())); };
  dataset.OnNext = [&](TvtDataset& d) { calls.push_back("next" + std::to_string(d.RecNo())); };
  dataset.OnPrior = [&](TvtDataset& d) { calls.push_back("prior" + std::to_string(d.RecNo())); };

  Pass(dataset);
  EXPECT_EQ(dataset.RecNo(), 3) << "the last counted Next still counts";
  dataset.Prior();
  EXPECT_EQ(calls, (std::vector<std::string>{"first0", "next1", "next2", "prior2"}));
}

TEST_F(ReportDatasetTest, LastRangeEndsOnlyWhenTheHandlerSaysSo) {
  TvtUserDataset dataset;
  EXPECT_EQ(Pass(dataset, 5).size(), 5u) << "without a handler the walk never ends";

  dataset.OnCheckEOF = [](TvtDataset& d, bool& eof) { eof = d.RecNo() >= 2; };
  EXPECT_EQ(Pass(dataset), (std::vector<int>{0, 1}));

  // The handler may also overrule a used-up count.
  dataset.RangeEnd = reCount;
  dataset.RangeEndCount = 0;
  dataset.OnCheckEOF = [](TvtDataset& d, bool& eof) { eof = d.RecNo() >= 1; };
  EXPECT_EQ(Pass(dataset), (std::vector<int>{0}));
}

// The application's components: the viewer's form owns the datasets; a data module holds a
// dataset and a nested container with another one.
class BandDatasetTest : public testing_support::EngineTest {
 protected:
  BandDatasetTest() {
    owner.Create<TracedDataset>("datasetOrders");
    owner.Create<ClientDataset>("Orders");
    module.Create<TracedDataset>("Customers");
    module.Create<TvtComponentContainer>("Sub").Create<TracedDataset>("Items");
    components.SetOwner(&owner);
  }
  TvtComponentDirectory components;
  TvtComponentContainer& owner = components.AddContainer("frmViewer");
  TvtComponentContainer& module = components.AddContainer("DataModule1");
};

TEST_F(BandDatasetTest, NumberMakesAnOwnedCountedDataset) {
  TvtBandDataset band = ResolveBandDataset("3", components);
  ASSERT_NE(band.dataset, nullptr);
  EXPECT_EQ(band.owned.get(), band.dataset);
  EXPECT_EQ(Pass(*band.dataset), (std::vector<int>{0, 1, 2}));
  ReleaseBandDataset(band);
  EXPECT_EQ(band.dataset, nullptr);
  EXPECT_EQ(band.owned, nullptr);

  EXPECT_THROW(ResolveBandDataset("3x", components), ConversionError);
}

TEST_F(BandDatasetTest, PathsFindDatasetsAndStartTheirWalk) {
  struct Case {
    const char* text;
    const char* found;  // name of the dataset found, "" for none
  };
  const Case cases[] = {
      {"DATASETORDERS", "datasetOrders"},
      {"datamodule1.customers", "Customers"},
      {"DataModule1.Sub.Items", "Items"},
      {"DataModule1.Nothing", ""},
      {"DataModule1.Customers.X", ""},  // a dataset holds no components
      {"0", ""},                        // not a count: a name, normally found nowhere
      {"", ""},
  };
  for (const Case& c : cases) {
    TvtBandDataset band = ResolveBandDataset(c.text, components);
    EXPECT_EQ(band.dataset ? band.dataset->Name : "", c.found) << c.text;
    EXPECT_EQ(band.owned, nullptr) << c.text;
    if (!band.dataset) continue;
    auto& traced = dynamic_cast<TracedDataset&>(*band.dataset);
    EXPECT_EQ(traced.starts, 1) << c.text;
    ReleaseBandDataset(band);
    EXPECT_EQ(traced.ends, 1) << c.text;
    traced.starts = traced.ends = 0;
  }

  owner.Create<TracedDataset>("0");
  EXPECT_EQ(ResolveBandDataset("0", components).dataset->Name, "0");
}

TEST_F(BandDatasetTest, BrokenPathsAndOtherComponentsRaise) {
  for (const char* text : {"Nowhere.Orders", "DataModule1.Nothing.Items", "a.b.c.d"}) {
    try {
      ResolveBandDataset(text, components);
      ADD_FAILURE() << text << " raised nothing";
    } catch (const ZorelError& error) {
      EXPECT_EQ(std::string(error.what()), std::string("Missing ") + text);
    }
  }
  try {
    ResolveBandDataset("Orders", components);
    ADD_FAILURE() << "a client dataset is no report dataset";
  } catch (const ZorelError& error) {
    EXPECT_NE(std::string(error.what()).find("Invalid class typecast"), std::string::npos);
  }

  components.SetOwner(nullptr);
  EXPECT_THROW(ResolveBandDataset("datasetOrders", components), ZorelError);
}

}  // namespace
}  // namespace zr
