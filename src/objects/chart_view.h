#pragma once
// TvtChartView: a business chart. Its series come from a dataset named among the control's
// components (read whole when the load binds the chart, so every print shows that data) or,
// with flag bit 15 and no dataset, from the memos written while the report is prepared: each
// memo named by a series adds a point, the memo named by CategoryField opens a category that
// the points following it fall in (values of one series there add up, so a chart beside a
// detail band totals each category), and the points are cleared once the chart has been
// written to a page, so a chart in a group footer charts its group.
//
// Value-axis labels take the view's DisplayFormat when it is a number format (grouped
// thousands otherwise), and dates of a dataset's category field its date or time format.
//
// Record: the common record, then a version byte and the byte length of the chart's own
// fields, so readers skip what later versions append. Prepared records carry the points.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "engine/model/view.h"
#include "objects/chart_series.h"

namespace zr {

class TvtComponentContainer;

class TvtChartView : public TvtView {
 public:
  inline static const std::string kClassName = "TvtChartView";
  static constexpr uint8_t kChartVersion = 1;

  TvtChartView();
  std::string ClassName() const override { return kClassName; }

  void Draw(Canvas& canvas) override;
  void OnHook(TvtView& drawn) override;
  void WriteToPreparedPage(ByteWriter& stream) override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  // Reads the series from the dataset DataSetName names among `form`'s components; nothing
  // when there is none or it is closed.
  void BindSeries(TvtComponentContainer& form);
  // CategoryField and the series sources that the dataset DataSetName names lacks, in that
  // order; nothing when there is no such open dataset.
  std::vector<std::string> MissingFields(TvtComponentContainer& form) const;

  uint8_t ChartKind = ckBar;
  std::string Title;
  std::string DataSetName;
  std::string CategoryField;  // a dataset field, or the name of a memo
  bool ShowLegend = true;
  TvtMemoFont Font;  // labels, chosen as memo fonts are (Korean faces included)
  std::vector<TvtChartSeries> Series;
  ChartData Data;  // the points shown

 private:
  std::string TickText(double value, double step) const;
};

// Registers "TvtChartView" with the engine's add-in registry for its life.
class TvtChartClass {
 public:
  TvtChartClass();
  ~TvtChartClass();
  TvtChartClass(const TvtChartClass&) = delete;
  TvtChartClass& operator=(const TvtChartClass&) = delete;
};

}  // namespace zr
