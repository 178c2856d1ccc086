#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/run/aggregates.h"
#include "functions_fixture.h"
#include "platform/errors.h"

namespace zr {
namespace {

// Band type codes used here.
constexpr int kPageHeader = 2;
constexpr int kPageFooter = 3;
constexpr int kMasterData = 5;
constexpr int kMasterFooter = 6;
constexpr int kDetailData = 8;
constexpr int kDetailFooter = 9;

TvtAggregateBand band(const char* name, int type) {
  TvtAggregateBand b;
  b.Name = name;
  b.BandType = type;
  return b;
}

// The page as the band engine would present it: one master and one detail data band with
// their footers, and a page header that has no default data band.
class Page : public AggregateHost {
 public:
  TvtAggregateBand* CurrentBand() override { return current; }
  TvtAggregateBand* FindDataBand(std::string_view name) override {
    for (TvtAggregateBand* b : {&master, &detail}) {
      if (same_name(b->Name, name)) return b;
    }
    return nullptr;
  }
  TvtAggregateBand* PageDataBand(AggregateLevel level) override {
    if (level == AggregateLevel::MasterData) return &master;
    if (level == AggregateLevel::DetailData) return &detail;
    return nullptr;
  }
  std::optional<int> CrossColumn() override { return column; }

  TvtAggregateBand master = band("MasterData1", kMasterData);
  TvtAggregateBand detail = band("DetailData1", kDetailData);
  TvtAggregateBand footer = band("MasterFooter1", kMasterFooter);
  TvtAggregateBand detail_footer = band("DetailFooter1", kDetailFooter);
  TvtAggregateBand page_footer = band("PageFooter1", kPageFooter);
  TvtAggregateBand page_header = band("PageHeader1", kPageHeader);
  TvtAggregateBand* current = nullptr;
  std::optional<int> column;
};

class AggregatesTest : public FunctionsTest {
 protected:
  AggregatesTest() {
    state.host = &page;
    context.aggregates = &state;
  }

  // Phase 1 for `target`: each band's memo lines are split and their calls evaluated.
  void collect(
      TvtAggregateBand& target,
      std::initializer_list<std::pair<TvtAggregateBand*, std::vector<std::string>>> bands) {
    CollectingScope scope(state, target);
    for (const auto& [b, lines] : bands) {
      page.current = b;
      TAggregateFunctionsSplitter splitter(nullptr);
      splitter.SplitMemo(lines);
      CollectCalls(parser, state, splitter.SplitTo);
    }
    page.current = nullptr;
  }

  // Phase 2: one record with the given field values.
  void record(TvtAggregateBand& data, std::map<std::string, Value> fields) {
    for (auto& [name, value] : fields) set(name, value);
    data.Accumulate(parser);
  }

  // Phase 3: `expression` evaluated while `b` is the current band.
  Value show(TvtAggregateBand& b, const std::string& expression) {
    page.current = &b;
    const Value value = eval(expression);
    page.current = nullptr;
    return value;
  }

  Page page;
  TvtAggregateState state;
};

TEST_F(AggregatesTest, SumInAMasterFooterRestartsAfterTheFooter) {
  collect(page.master, {{&page.footer, {"Total: [SUM([X])] of [COUNT()]"}}});
  EXPECT_EQ(page.footer.AggregateOwner, &page.master);
  EXPECT_EQ(page.master.Aggregates.Count(), 2);
  EXPECT_FALSE(state.collecting);
  for (int x : {1, 2, 3}) record(page.master, {{"X", x}});
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(6)));
  EXPECT_EQ(describe(show(page.footer, "COUNT()")), describe(Value(3)));
  EXPECT_EQ(page.master.RecordCount, 3);

  page.footer.ResetShownAggregates();
  EXPECT_EQ(page.master.RecordCount, 0);
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(0)));
  record(page.master, {{"X", 10}});
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(10)));
}

TEST_F(AggregatesTest, AvgMinMaxOverRecordsAndOverNone) {
  collect(page.master,
          {{&page.footer, {"[AVG([Price])] [MIN([Price])] [MAX([Price])] [MAX([Loss])]"}}});
  EXPECT_EQ(describe(show(page.footer, "MIN([Price])")), describe(Value(1e300)));
  EXPECT_EQ(describe(show(page.footer, "MAX([Price])")), describe(Value(0)));
  EXPECT_EQ(describe(show(page.footer, "AVG([Price])")),
            describe(Value(0)));  // no records: no failure
  record(page.master, {{"Price", 10}, {"Loss", -5}});
  record(page.master, {{"Price", 20}, {"Loss", -1}});
  EXPECT_EQ(describe(show(page.footer, "AVG([Price])")), describe(Value(15.0)));
  EXPECT_EQ(describe(show(page.footer, "MIN([Price])")), describe(Value(10)));
  EXPECT_EQ(describe(show(page.footer, "MAX([Price])")), describe(Value(20)));
  // MAX starts from 0, so negative values never show.
  EXPECT_EQ(describe(show(page.footer, "MAX([Loss])")), describe(Value(0)));
}

TEST_F(AggregatesTest, CountWithTheFlagAlsoCountsInvisibleRecords) {
  collect(page.master,
          {{&page.footer, {"[COUNT(MasterData1)]", "[COUNT( masterdata1 , 1)] [SUM([X], , 1)]"}}});
  EXPECT_EQ(page.master.Aggregates.Count(), 3);
  record(page.master, {{"X", 1}});
  page.master.Visible = false;
  record(page.master, {{"X", 2}});
  record(page.master, {{"X", 3}});
  EXPECT_EQ(describe(show(page.footer, "COUNT(MasterData1)")), describe(Value(1)));
  EXPECT_EQ(describe(show(page.footer, "COUNT( masterdata1 , 1)")), describe(Value(3)));
  EXPECT_EQ(describe(show(page.footer, "SUM([X], , 1)")), describe(Value(6)));
  EXPECT_EQ(page.master.RecordCount, 3);
}

TEST_F(AggregatesTest, EntriesAreKeptPerDataBand) {
  // The detail footer's SUM defaults to the detail band, the page footer's to the master.
  collect(page.master,
          {{&page.detail_footer, {"[SUM([X])]"}}, {&page.page_footer, {"[SUM([X])]"}}});
  collect(page.detail,
          {{&page.detail_footer, {"[SUM([X])]"}}, {&page.page_footer, {"[SUM([X])]"}}});
  EXPECT_EQ(page.master.Aggregates.Count(), 1);
  EXPECT_EQ(page.detail.Aggregates.Count(), 1);
  EXPECT_EQ(page.detail_footer.AggregateOwner, &page.detail);
  EXPECT_EQ(page.page_footer.AggregateOwner, &page.master);

  record(page.master, {{"X", 100}});
  record(page.detail, {{"X", 1}});
  record(page.detail, {{"X", 2}});
  EXPECT_EQ(describe(show(page.detail_footer, "SUM([X])")), describe(Value(3)));
  EXPECT_EQ(describe(show(page.page_footer, "SUM([X])")), describe(Value(100)));
  // The detail footer resets only its own entries.
  page.detail_footer.ResetShownAggregates();
  EXPECT_EQ(describe(show(page.detail_footer, "SUM([X])")), describe(Value(0)));
  EXPECT_EQ(describe(show(page.page_footer, "SUM([X])")), describe(Value(100)));
}

TEST_F(AggregatesTest, CallsNamingNoDataBandReadAsZero) {
  collect(page.master, {{&page.footer, {"[SUM([X])]"}},
                        {&page.detail_footer, {"[SUM([X], NoSuchBand)]"}},
                        {&page.page_header, {"[SUM([X])]"}}});
  EXPECT_EQ(page.master.Aggregates.Count(), 1);
  EXPECT_EQ(page.detail_footer.AggregateOwner, nullptr);
  EXPECT_EQ(page.page_header.AggregateOwner, nullptr);
  record(page.master, {{"X", 4}});
  EXPECT_EQ(describe(show(page.detail_footer, "SUM([X], NoSuchBand)")), describe(Value("0")));
  EXPECT_EQ(describe(show(page.page_header, "SUM([X])")), describe(Value("0")));
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(4)));
}

TEST_F(AggregatesTest, NullValuesCountAsZero) {
  collect(page.master, {{&page.footer, {"[SUM([X])]"}}});
  record(page.master, {{"X", Value::null()}});
  record(page.master, {{"X", 2}});
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(2)));
}

TEST_F(AggregatesTest, OneEvaluationPerExpressionAndRecord) {
  collect(page.master, {{&page.footer, {"[SUM([X])] [MAX([X])] [MIN([X])] [COUNT()]"}}});
  reads = 0;
  record(page.master, {{"X", 5}});
  EXPECT_EQ(reads, 1);
}

TEST_F(AggregatesTest, ConversionErrorsPropagateFromAccumulating) {
  collect(page.master, {{&page.footer, {"[SUM([X])]"}}});
  record(page.master, {{"X", 1}});
  set("X", "not a number");
  EXPECT_THROW(page.master.Accumulate(parser), ConversionError);
}

TEST_F(AggregatesTest, CollectingStateEndsAfterAnError) {
  EXPECT_THROW(collect(page.master, {{&page.footer, {"[SUM([X]"}}}), ZorelError);
  EXPECT_FALSE(state.collecting);
  EXPECT_EQ(state.target, nullptr);
  EXPECT_THROW(CollectCalls(parser, state, {"SUM([X])"}), ZorelError);
}

TEST_F(AggregatesTest, CrossBandsKeepTheirEntriesPerColumn) {
  page.footer.HasCrossObjects = true;
  collect(page.master, {{&page.footer, {"[SUM([X])]"}}});
  ASSERT_EQ(page.master.Aggregates.Count(), 1);
  EXPECT_EQ(page.master.Aggregates.NameAt(0).substr(0, 2), std::string("0\1"));
  for (int column : {1, 2}) {
    set("X", column * 10);
    page.master.Accumulate(parser, column);
  }
  set("X", 5);
  page.master.Accumulate(parser, 1);
  page.column = 1;
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(15)));
  page.column = 2;
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(20)));
  page.footer.ResetShownAggregates();
  EXPECT_EQ(describe(show(page.footer, "SUM([X])")), describe(Value(0)));
}

TEST(AggregateKey, RoundTrips) {
  const AggregateCall call{AggregateKind::Avg, "[A] + [B]", " Band1", "1"};
  const std::string key = AggregateKey("Footer1", call);
  const std::string sep(1, '\1');
  EXPECT_EQ(key, "Footer1" + sep + "\x0E" + sep + "[A] + [B]" + sep + "1" + sep);
  const auto parts = ParseAggregateKey(AggregateKey("Footer1", call, "3"));
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->column, "3");
  EXPECT_EQ(parts->band_name, "Footer1");
  EXPECT_EQ(parts->kind, AggregateKind::Avg);
  EXPECT_EQ(parts->expression, "[A] + [B]");
  EXPECT_EQ(parts->flag, "1");
  EXPECT_FALSE(ParseAggregateKey("no key"));
  EXPECT_FALSE(ParseAggregateKey(std::string("a\1b\1c\1")));
}

}  // namespace
}  // namespace zr
