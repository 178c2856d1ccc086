#include "viewer/data_use_check.h"

#include <algorithm>

#include "engine/model/band_view.h"
#include "engine/run/band.h"
#include "engine/run/band_dataset.h"
#include "engine/run/report_dataset.h"
#include "objects/chart_view.h"
#include "platform/codepage.h"

namespace zr {

namespace {

bool is_data_band(int type) {
  return type == btMasterData || type == btDetailData || type == btSubDetailData;
}

// A band's dataset text that names a component (not empty, not a record count).
bool names_component(const std::string& text) {
  return !text.empty() && !(text[0] >= '1' && text[0] <= '9');
}

bool finds_component(const TvtReport& report, const std::string& text) {
  const std::optional<ComponentRef> found = report.Components.FindPath(SplitComponentPath(text));
  return found && !std::holds_alternative<std::monostate>(*found);
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

DataUseCheck::DataUseCheck(TvtReport& report, std::vector<std::string> sections)
    : report_(report), sections_(std::move(sections)) {
  for (const auto& page : report_.Pages.pages()) {
    texts_.insert(texts_.end(), page->Script.begin(), page->Script.end());
    for (const auto& view : page->Objects) {
      texts_.insert(texts_.end(), view->Memo.begin(), view->Memo.end());
      texts_.insert(texts_.end(), view->Script.begin(), view->Script.end());
      texts_.push_back(view->FormatText);
      texts_.push_back(view->FieldName);
      if (const auto* chart = dynamic_cast<const TvtChartView*>(view.get());
          chart && !chart->DataSetName.empty()) {
        texts_.push_back(chart->DataSetName);
        if (!finds_component(report_, chart->DataSetName))
          out_of_reach_.push_back("chart " + quoted(chart->Name) + " names the dataset " +
                                  quoted(chart->DataSetName) + ", which no data section filled");
        for (const std::string& field : chart->MissingFields(report_.OwnerContainer()))
          out_of_reach_.push_back("chart " + quoted(chart->Name) + ": the dataset " +
                                  quoted(chart->DataSetName) + " has no field " + quoted(field));
      }
      const auto* band = dynamic_cast<const TvtBandView*>(view.get());
      if (!band || !is_data_band(band->BandType()) || !names_component(band->FormatText)) continue;
      bands_.push_back({band->Name, band->FormatText, band->BandType() == btMasterData,
                        finds_component(report_, band->FormatText)});
    }
  }
  // A simple report's master band whose dataset text finds nothing walks the report's own
  // dataset: that dataset's section is used after all.
  const bool falls_back = std::any_of(bands_.begin(), bands_.end(), [](const DataBand& band) {
    return band.master && !band.found;
  });
  if (falls_back && report_.ReportType == rtSimple && report_.Dataset)
    fallback_ = report_.Dataset->Name;
  if (!fallback_.empty()) texts_.push_back(fallback_);
  for (const TVariable& variable : report_.Dictionary.VariableList.Items())
    if (variable.value.is_string()) texts_.push_back(variable.value.raw_string());

  chained_ = report_.OnBeginBand;
  report_.OnBeginBand = [this](TvtBand& band) {
    if (band.type() == btMasterData) ++printed_[upper_ascii(band.Name)];
    if (chained_) chained_(band);
  };
}

DataUseCheck::~DataUseCheck() {
  report_.OnBeginBand = chained_;
}

std::vector<std::string> DataUseCheck::warnings() const {
  std::vector<std::string> out;
  for (const DataBand& band : bands_) {
    if (band.found) continue;
    std::string text = "band " + quoted(band.name) + " names the dataset " + quoted(band.dataset) +
                       ", which no data section filled";
    if (band.master && !fallback_.empty())
      text += "; it walks the report's dataset " + quoted(fallback_) + " instead";
    out.push_back(text);
  }
  out.insert(out.end(), out_of_reach_.begin(), out_of_reach_.end());
  for (const std::string& section : sections_) {
    const std::string name = upper_ascii(section);
    const bool used = std::any_of(texts_.begin(), texts_.end(), [&](const std::string& text) {
      return upper_ascii(text).find(name) != std::string::npos;
    });
    if (!used) out.push_back("section " + quoted(section) + " is used by no band and no object");
  }
  if (report_.Terminated || report_.DialogCancelled) return out;
  for (const DataBand& band : bands_) {
    if (!band.master || !band.found) continue;
    const auto printed = printed_.find(upper_ascii(band.name));
    if (printed == printed_.end() || printed->second == 0)
      out.push_back("master band " + quoted(band.name) + " printed no record");
  }
  return out;
}

}  // namespace zr
