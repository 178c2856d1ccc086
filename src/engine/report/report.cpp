#include "engine/report/report.h"

#include "engine/report/tvt_globals.h"

namespace zr {

TvtReport::TvtReport(std::string name) : Name(std::move(name)) {}

TvtReport::~TvtReport() {
  // Views may be chained into the report's handlers: they go while the report is whole.
  Pages.Clear();
  if (TvtGlobals* g = TvtGlobals::Find()) {
    if (g->CurReport == this) g->CurReport = nullptr;
    if (g->MasterReport == this) g->MasterReport = nullptr;
  }
}

void TvtReport::ClearReport() {
  Pages.Clear();
  Dictionary.Clear();
  TwoPass = false;
}

void TvtReport::ClearGlobalVariables() {
  TvtGlobals::Get().ScriptVariables.Clear();
}

TvtView* TvtReport::FindObject(std::string_view name) const {
  for (const auto& page : Pages.pages())
    if (TvtView* v = page->FindObject(name)) return v;
  return nullptr;
}

}  // namespace zr
