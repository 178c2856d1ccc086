#include "viewer/chart_object.h"

#include <memory>

#include "engine/report/report.h"

namespace zr {

TvtChartObject::TvtChartObject() = default;
TvtChartObject::~TvtChartObject() = default;

void TvtChartObject::BindChartViews(TvtReport& report, TvtComponentContainer& form) {
  for (int i = 0; i < report.Pages.Count(); ++i)
    for (auto& view : report.Pages.Items(i).Objects)
      if (auto* chart = dynamic_cast<TvtChartView*>(view.get())) chart->BindSeries(form);
}

}  // namespace zr
