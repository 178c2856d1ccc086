// The band view names a script reaches while a report is prepared: they act on the running
// band made from the view, not on the design record.
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "platform/codepage.h"

namespace zr {

TvtBand* TvtBandEngine::RunningBandOf(const TvtView& view) const {
  auto find_in = [&](const TvtPageForming* ps) -> TvtBand* {
    if (!ps) return nullptr;
    for (const auto& band : ps->bands)
      if (band->view == &view) return band.get();
    return nullptr;
  };
  if (TvtBand* band = find_in(CurrentForming())) return band;
  for (const auto& [page, ps] : pages_)
    if (TvtBand* band = find_in(ps.get())) return band;
  return nullptr;
}

std::optional<Value> TvtBandEngine::GetBandProperty(TvtView& band_view, const std::string& name) {
  TvtBand* band = RunningBandOf(band_view);
  if (!band) return std::nullopt;
  const std::string n = upper_ascii(name);
  if (n == "LEFT") return Value(band->x);
  if (n == "TOP") return Value(band->y);
  if (n == "WIDTH") return Value(band->dx);
  if (n == "HEIGHT") return Value(band->dy);
  if (n == "VISIBLE") return Value(band->IsVisible());
  // A band without a dataset has nothing left to walk.
  if (n == "EOF") return Value(!band->dataset() || band->dataset()->Eof());
  return std::nullopt;
}

bool TvtBandEngine::SetBandProperty(TvtView& band_view, const std::string& name,
                                    const Value& value) {
  TvtBand* band = RunningBandOf(band_view);
  if (!band) return false;
  const std::string n = upper_ascii(name);
  if (n == "LEFT") {
    band->x = value.to_int();
  } else if (n == "TOP") {
    band->y = value.to_int();
  } else if (n == "WIDTH") {
    band->dx = value.to_int();
  } else if (n == "HEIGHT") {
    band->dy = value.to_int();
  } else if (n == "VISIBLE") {
    // The drawing reads visibility through the view, so both follow.
    band->Visible = value.to_bool();
    band_view.Visible = band->Visible;
  } else if (n == "CHILDBAND") {
    auto& view = static_cast<TvtBandView&>(band_view);
    view.ChildBand = value.to_string();
    TvtBand* child =
        view.ChildBand.empty() ? nullptr : FindBandNamed(StateOf(*band), view.ChildBand);
    // As when linking: a chain leading back to the band would print for ever.
    for (TvtBand* b = child; b; b = b->child)
      if (b == band) {
        child = nullptr;
        break;
      }
    band->child = child;
  } else if (n == "CONDITION") {
    band_view.FormatText = value.to_string();
    band->group_postfix = g_.GlobalParser.ToPostfix(band_view.FormatText);
  } else if (n == "DATASOURCE") {
    band_view.FormatText = value.to_string();
    ReleaseBandDataset(band->data);
    band->data = ResolveBandDataset(band_view.FormatText, components_);
  } else {
    return false;
  }
  return true;
}

bool TvtBandEngine::CallBandMethod(TvtView& band_view, const std::string& name) {
  TvtBand* band = RunningBandOf(band_view);
  if (!band) return false;
  const std::string n = upper_ascii(name);
  if (n != "NEXT" && n != "PRIOR" && n != "FIRST") return false;
  if (TvtDataset* ds = band->dataset()) {
    if (n == "NEXT")
      ds->Next();
    else if (n == "PRIOR")
      ds->Prior();
    else
      ds->First();
  }
  return true;
}

}  // namespace zr
