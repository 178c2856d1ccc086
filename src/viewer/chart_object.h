#pragma once
// Charts in reports. The charting component is outside this system; what the control needs
// of it is that forms holding chart views load (the class "TvtChartView" is registered with
// the engine's add-in registry while a TvtChartObject exists) and the calls a load makes:
// attach the chart object to a host panel, let each chart view bind its series to the
// form's datasets, detach it. Those calls do nothing beyond keeping the state; a chart view
// keeps its common view record and draws nothing.

#include <string>

#include "engine/model/view.h"
#include "engine/run/component_directory.h"

namespace zr {

class TvtReport;

class TvtChartView : public TvtView {
 public:
  inline static const std::string kClassName = "TvtChartView";
  TvtChartView();
  std::string ClassName() const override { return kClassName; }
  // Binds the chart's series to the datasets it names among `form`'s components.
  void BindSeries(TvtComponentContainer& form);
};

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
  std::string host_panel_;
};

}  // namespace zr
