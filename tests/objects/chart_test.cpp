// Charts: the value scale, label thinning, the chart record, points collected from memos and
// the drawings of every kind compared with golden traces in tests/data/objects
// (ZR_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/model/memo_view.h"
#include "engine/report_fixture.h"
#include "engine/view_test_support.h"
#include "objects/chart_axis.h"
#include "objects/chart_layout.h"
#include "objects/chart_view.h"
#include "platform/byte_stream.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/canvas_test_support.h"
#include "platform/table/client_dataset.h"

namespace zr {
namespace {

TEST(ChartScaleTest, RangesAndSteps) {
  struct Case {
    double lo, hi;
    int ticks;
    bool zero;
    double min, max, step;
  };
  const Case cases[] = {
      {0, 97, 5, true, 0, 100, 20},      {3, 7, 4, false, 3, 7, 1},
      {-35, 120, 6, true, -50, 150, 50}, {0, 0, 5, true, 0, 1, 0.2},  // all zero
      {42, 42, 5, false, 20, 70, 10},                                 // a single value
      {-5, -5, 5, true, -5, 0, 1},       {0.001, 0.004, 5, false, 0.001, 0.004, 0.001},
      {NAN, 3, 5, true, 0, 1, 0.2},      {1e6, 3e6, 1, true, 0, 5e6, 5e6},
  };
  for (const Case& c : cases) {
    const ChartScale s = NiceScale(c.lo, c.hi, c.ticks, c.zero);
    SCOPED_TRACE(testing::Message() << c.lo << ".." << c.hi);
    EXPECT_NEAR(s.min, c.min, 1e-9);
    EXPECT_NEAR(s.max, c.max, 1e-9);
    EXPECT_NEAR(s.step, c.step, 1e-9);
    EXPECT_LE(s.min, std::isfinite(c.lo) ? c.lo : 0);
    EXPECT_LE(static_cast<int>(s.Ticks().size()) - 1, std::max(c.ticks, 1));
  }
}

TEST(ChartLayoutTest, LabelStrideNeverLetsLabelsOverlap) {
  EXPECT_EQ(LabelStride({}, {}, 4), 1);
  std::vector<int> centers, widths;
  for (int i = 0; i < 1000; ++i) {
    centers.push_back(10 + i * 3 / 2);  // a thousand labels over 1,500 pixels
    widths.push_back(20 + i % 7);
  }
  const int stride = LabelStride(centers, widths, 4);
  EXPECT_GT(stride, 1);
  for (size_t i = 0; i + stride < centers.size(); i += stride)
    ASSERT_GE(2 * (centers[i + stride] - centers[i]), widths[i] + widths[i + stride] + 8) << i;
  EXPECT_EQ(LabelStride({{0, 100}}, {{10, 10}}, 4), 1);
  EXPECT_EQ(LabelStride({{0, 5}}, {{500, 500}}, 4), 2);  // only the first label fits
}

class ChartTest : public testing_support::ReportTest {
 protected:
  ChartTest() { globals().mode = EngineMode::Run; }

  static void Setup(TvtChartView& chart, uint8_t kind) {
    chart.SetBounds(10, 10, 360, 240);
    chart.ChartKind = kind;
    chart.Title = "Sales";
    chart.Series = {{"North", "N", 0x1FFFFFFF}, {"South", "S", 0x2020C0}};
  }

  void ExpectGoldenTrace(TvtView& view, const std::string& name) {
    TraceCanvas canvas(globals().fonts, {0, 0, 400, 300});
    view.Draw(canvas);
    const std::string trace = canvas.trace();
    const std::string path = std::string(ZR_TEST_DATA_DIR) + "/objects/" + name + ".trace";
    const char* update = std::getenv("ZR_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
      std::ofstream(path, std::ios::binary) << trace;
      return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden " << path;
    std::ostringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(trace, golden.str()) << name;
  }

  TvtChartClass class_;
};

TEST_F(ChartTest, RecordRoundTripsAndSkipsLaterFields) {
  TvtChartView chart;
  Setup(chart, ckStackedHorizBar);
  chart.DataSetName = "Sales";
  chart.CategoryField = "Month";
  chart.ShowLegend = false;
  chart.Font.Name = "Gulim";
  chart.Data.Add(0, 1.5, "Jan");
  chart.Data.Add(1, -2, "Jan");
  for (bool prepared : {false, true}) {
    const std::string bytes = testing_support::save_record(chart, prepared);
    TvtChartView back;
    testing_support::load_record(back, bytes, 24, prepared);
    EXPECT_EQ(back.ChartKind, ckStackedHorizBar);
    EXPECT_EQ(back.Title, "Sales");
    EXPECT_EQ(back.DataSetName, "Sales");
    EXPECT_EQ(back.CategoryField, "Month");
    EXPECT_FALSE(back.ShowLegend);
    EXPECT_EQ(back.Font, chart.Font);
    EXPECT_EQ(back.Series, chart.Series);
    EXPECT_EQ(back.Data, prepared ? chart.Data : ChartData{});
  }
}

TEST_F(ChartTest, DamagedRecordsRaise) {
  TvtChartView chart;
  Setup(chart, ckBar);
  chart.Data.Add(0, 1, "a");
  chart.Data.values.resize(2);
  std::string bytes = testing_support::save_record(chart, true);
  // The last point count (series 2 is empty) claims four billion points.
  bytes.replace(bytes.size() - 4, 4, "\xFF\xFF\xFF\xFF");
  TvtChartView back;
  EXPECT_THROW(testing_support::load_record(back, bytes, 24, true), std::exception);
  EXPECT_THROW(testing_support::load_record(back, bytes.substr(0, bytes.size() - 9), 24, true),
               std::exception);
}

TEST_F(ChartTest, MemosFeedTheChartUntilItIsWritten) {
  TvtChartView chart;
  Setup(chart, ckBar);
  chart.CategoryField = "Region";
  EXPECT_TRUE(chart.HasFlag(kFlagWantHook));
  auto memo = [](const std::string& name, const std::string& text) {
    auto m = std::make_unique<TvtMemoView>();
    m->Name = name;
    m->ExpandedMemo = {text};
    return m;
  };
  chart.OnHook(*memo("n", "4"));  // before any category: an unnamed one
  for (auto [region, n, s] : {std::tuple{"East", "1,250.5", "-3"}, {"West", "7", "x"}}) {
    chart.OnHook(*memo("Region", region));
    chart.OnHook(*memo("n", n));  // names match without regard to case
    chart.OnHook(*memo("S", s));
    chart.OnHook(*memo("Other", "99"));
  }
  chart.OnHook(*memo("N", "3"));  // a second value of the category adds up
  chart.OnHook(*memo("Region", "North"));
  ASSERT_EQ(chart.Data.categories, (std::vector<std::string>{"", "East", "West", "North"}));
  EXPECT_EQ(chart.Data.At(0, 0), 4);
  EXPECT_EQ(chart.Data.At(0, 1), 1250.5);
  EXPECT_EQ(chart.Data.At(1, 1), -3);
  EXPECT_EQ(chart.Data.At(0, 2), 10);
  EXPECT_TRUE(std::isnan(chart.Data.At(1, 2)));  // not a number: no point
  EXPECT_TRUE(std::isnan(chart.Data.At(0, 3)));
  ByteWriter page;
  chart.WriteToPreparedPage(page);
  EXPECT_TRUE(chart.Data.Empty());  // the next group starts afresh
}

TEST_F(ChartTest, KindsMatchTheirGoldenTraces) {
  const char* names[] = {"bar",  "stacked_bar", "hbar",  "stacked_hbar",
                         "line", "area",        "point", "pie"};
  for (uint8_t kind = ckBar; kind <= ckPie; ++kind) {
    TvtChartView chart;
    Setup(chart, kind);
    for (int i = 0; i < 6; ++i) {
      chart.Data.Add(0, 10.0 * i - 15, "Q" + std::to_string(i + 1));
      chart.Data.Add(1, 25.0 - 4 * i, "");
    }
    ExpectGoldenTrace(chart, std::string("chart_") + names[kind]);
  }
}

TEST_F(ChartTest, EdgeDataMatchGoldenTraces) {
  TvtChartView single;
  Setup(single, ckLine);
  single.Data.Add(0, 42, "Only");
  ExpectGoldenTrace(single, "chart_single_point");

  TvtChartView zeros;
  Setup(zeros, ckBar);
  TvtChartView zero_pie;
  Setup(zero_pie, ckPie);
  for (int i = 0; i < 4; ++i) {
    zeros.Data.Add(0, 0, "Z" + std::to_string(i));
    zero_pie.Data.Add(0, 0, "Z" + std::to_string(i));
  }
  ExpectGoldenTrace(zeros, "chart_all_zero");
  ExpectGoldenTrace(zero_pie, "chart_all_zero_pie");

  TvtChartView many;
  Setup(many, ckBar);
  for (int i = 0; i < 1000; ++i) many.Data.Add(0, i % 37, "Item " + std::to_string(i));
  ExpectGoldenTrace(many, "chart_thousand");

  // Long Korean labels (code page 949) in a Korean face, as memos choose it.
  TvtChartView korean;
  Setup(korean, ckHorizBar);
  korean.Font.Name = "\xB1\xBC\xB8\xB2";  // Gulim
  korean.Font.Charset = 129;
  const std::string word = "\xC7\xD1\xB1\xB9\xC1\xF6\xBF\xAA";  // "Korea region"
  for (int i = 0; i < 3; ++i) korean.Data.Add(0, i + 1, word + word + word + word + word);
  ExpectGoldenTrace(korean, "chart_korean");
}

// Value-axis labels in the view's number format, or grouped with the decimals the tick
// spacing needs; dates of a dataset's category field in its date format.
TEST_F(ChartTest, LabelsTakeTheReportFormats) {
  const struct {
    int32_t format;
    std::string format_text;
    std::vector<double> values;
    std::string label;  // as the trace writes it
  } cases[] = {
      {0, "", {1250000, 2500000}, "\"2,500,000\""},
      {0, "", {0.12, 0.3}, "\"0.10\""},
      {0, "", {-1500, 700}, "\"-1,000\""},
      {(1 << 24) | (4 << 16), "#,##0\xBF\xF8", {1250000, 2500000}, "\"2,500,000원\""},
      {(1 << 24) | (1 << 16) | (2 << 8), "", {10, 30}, "\"30.00\""},
  };
  for (const auto& c : cases) {
    TvtChartView chart;
    Setup(chart, ckBar);
    chart.Font.Charset = 129;
    chart.DisplayFormat = c.format;
    chart.FormatText = c.format_text;
    for (size_t i = 0; i < c.values.size(); ++i)
      chart.Data.Add(0, c.values[i], "C" + std::to_string(i));
    TraceCanvas canvas(globals().fonts, {0, 0, 400, 300});
    chart.Draw(canvas);
    EXPECT_NE(canvas.trace().find(c.label), std::string::npos) << c.label << "\n" << canvas.trace();
  }

  ClientDataset days("Days");
  days.load_from_bytes(
      R"(<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS>)"
      R"(<FIELD attrname="Day" fieldtype="date"/><FIELD attrname="N" fieldtype="i4"/></FIELDS>)"
      R"(<PARAMS/></METADATA><ROWDATA><ROW Day="20260105" N="3"/><ROW Day="20260214" N="4"/>)"
      R"(<ROW N="5"/></ROWDATA></DATAPACKET>)",
      "days");
  TvtComponentContainer form("Form");
  form.Insert(&days);
  TvtChartView chart;
  Setup(chart, ckLine);
  chart.DataSetName = "days";
  chart.CategoryField = "Day";
  chart.Series = {{"N", "N", 0x1FFFFFFF}, {"Missing", "NoSuchField", 0x1FFFFFFF}};
  chart.DisplayFormat = (2 << 24) | (4 << 16);
  chart.FormatText = "yyyy-mm";
  chart.BindSeries(form);
  EXPECT_EQ(chart.Data.categories, (std::vector<std::string>{"2026-01", "2026-02", ""}));
  EXPECT_EQ(chart.Data.At(0, 2), 5);
  EXPECT_TRUE(std::isnan(chart.Data.At(1, 0)));
  chart.DisplayFormat = 0;  // not a date format: the short date (of the first record, current)
  chart.BindSeries(form);
  EXPECT_EQ(chart.Data.categories[0], TvtReport::FormatValue(days.value(0), 2 << 24, ""));
  form.Remove(&days);
}

TEST_F(ChartTest, PixelsOfABarChart) {
  TvtChartView chart;
  Setup(chart, ckBar);
  chart.SetBounds(0, 0, 199, 149);
  chart.Title.clear();
  chart.ShowLegend = false;
  chart.Series = {{"A", "A", 0x0000FF}};
  chart.Data.Add(0, 10, "a");
  chart.Data.Add(0, 5, "b");
  test::Drawing d(200, 150);
  chart.Draw(*d.canvas);
  // Somewhere in the left half a red bar is painted, and the tall bar is taller.
  auto red_rows = [&](int x0, int x1) {
    int rows = 0;
    for (int y = 0; y < 150; ++y)
      for (int x = x0; x < x1; ++x)
        if (d.at(x, y) == 0x0000FFu) {
          ++rows;
          break;
        }
    return rows;
  };
  const int left = red_rows(0, 110), right = red_rows(110, 200);
  EXPECT_GT(left, 20);
  EXPECT_GT(right, 5);
  EXPECT_GT(left, right);
}

}  // namespace
}  // namespace zr
