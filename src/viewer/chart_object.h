#pragma once
// The chart registration component of the control: while it exists, forms holding chart
// views load, and a load attaches it to a host panel, lets each chart view bind its series to
// the form's datasets and detaches it.

#include <string>

#include "engine/run/component_directory.h"
#include "objects/chart_view.h"

namespace zr {

class TvtReport;

// The registration component placed on the control's form. Needs the engine state
// (TvtGlobals) installed for its whole life.
class TvtChartObject {
 public:
  TvtChartObject();
  ~TvtChartObject();
  TvtChartObject(const TvtChartObject&) = delete;
  TvtChartObject& operator=(const TvtChartObject&) = delete;

  // The panel the chart object draws on; `panel` names it ("Panel1").
  void Attach(const std::string& panel) { host_panel_ = panel; }
  void Detach() { host_panel_.clear(); }
  const std::string& host_panel() const { return host_panel_; }

  // Every chart view of the report's form pages binds its series to `form`'s datasets.
  static void BindChartViews(TvtReport& report, TvtComponentContainer& form);

 private:
  TvtChartClass class_;
  std::string host_panel_;
};

}  // namespace zr
