#include "viewer/chart_object.h"

#include <memory>

#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"

namespace zr {

TvtChartView::TvtChartView() {
  NamePrefix = "Chart";
}

void TvtChartView::BindSeries(TvtComponentContainer& /*form*/) {}

TvtChartObject::TvtChartObject() {
  TvtGlobals::Get().add_ins.Register(
      {TvtChartView::kClassName, [] { return std::make_unique<TvtChartView>(); }, {}, {}});
}

TvtChartObject::~TvtChartObject() {
  if (TvtGlobals* g = TvtGlobals::Find()) g->add_ins.Unregister(TvtChartView::kClassName);
}

void TvtChartObject::BindChartViews(TvtReport& report, TvtComponentContainer& form) {
  for (int i = 0; i < report.Pages.Count(); ++i)
    for (auto& view : report.Pages.Items(i).Objects)
      if (auto* chart = dynamic_cast<TvtChartView*>(view.get())) chart->BindSeries(form);
}

}  // namespace zr
