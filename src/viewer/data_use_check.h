#pragma once
// Data that a run prepares but no band shows: a report whose bands name datasets that no data
// section filled, or a data page whose sections the form does not use, prepares an empty or
// short report without any error. DataUseCheck watches one preparation and words what went
// unused as warnings for the person running the host or the tool (never for Log):
//
//   band "CustomerBand" names the dataset "datasetDATAMASTER", which no data section filled
//   chart "MonthChart" names the dataset "BYMONTH", which no data section filled
//   chart "MonthChart": the dataset "BYMONTH" has no field "Seoull"
//   (a simple report's master band then walks the report's own dataset, which is said too)
//   section "EXTRA" is used by no band and no object (a chart naming it uses it)
//   master band "CustomerBand" printed no record
//
// Construct it after the sections are loaded and before PrepareReport, keep it alive during
// PrepareReport (it counts the master bands printed through the report's OnBeginBand, chaining
// to a handler already set) and read warnings() afterwards. Texts are ANSI.

#include <map>
#include <string>
#include <vector>

#include "engine/report/report.h"

namespace zr {

class DataUseCheck {
 public:
  // `sections` are the names of the loaded data sections; their report datasets are
  // "dataset" + name.
  DataUseCheck(TvtReport& report, std::vector<std::string> sections);
  ~DataUseCheck();  // gives the report its own OnBeginBand back
  DataUseCheck(const DataUseCheck&) = delete;
  DataUseCheck& operator=(const DataUseCheck&) = delete;

  // In form order: bands whose dataset is missing, charts whose dataset is missing, then
  // unused sections, then master bands
  // that printed nothing (not reported for a run that was stopped or whose dataset is
  // missing).
  std::vector<std::string> warnings() const;

 private:
  struct DataBand {
    std::string name;
    std::string dataset;  // the band's dataset text
    bool master = false;
    bool found = false;  // the dataset text finds a component
  };

  TvtReport& report_;
  std::vector<std::string> sections_;
  std::vector<DataBand> bands_;
  std::vector<std::string> out_of_reach_;  // charts' missing datasets and fields, worded
  std::vector<std::string> texts_;         // every expression and script text of the form
  std::map<std::string, int> printed_;     // master band name (upper case) -> records printed
  std::function<void(TvtBand&)> chained_;
  std::string fallback_;  // the report's dataset, when a master band walks it for want of its own
};

}  // namespace zr
