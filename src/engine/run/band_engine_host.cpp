// The band engine's answers to the value resolver, the aggregates and the data dictionary:
// counters, positions and requests of the running band and page.
#include <algorithm>

#include "engine/model/band_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "engine/run/dataset_field.h"
#include "platform/codepage.h"
#include "platform/table/client_dataset.h"

namespace zr {

namespace {

bool same_band_name(const std::string& a, std::string_view b) {
  return !a.empty() && upper_ascii(a) == upper_ascii(b);
}

}  // namespace

// --- Run host ---

Value TvtBandEngine::Counter(std::string_view name) {
  if (name == "COLUMN#" || name == "CURRENT#") {
    TvtPageForming* ps = CurrentForming();
    if (!ps) return Value(int32_t{0});
    return Value(int32_t{name == "COLUMN#" ? ps->column_no : ps->current_no});
  }
  auto* band = static_cast<TvtBand*>(g_.CurBand);
  if (!band) return Value(int32_t{0});
  if (!band->dataset()) {
    TvtPageForming* ps = Forming(band->page);
    if (ps && ps->head(band->type())) band = ps->head(band->type());
  }
  return Value(name == "LINE#" ? band->line : band->line_through);
}

int32_t TvtBandEngine::CurY() {
  TvtPageForming* ps = CurrentForming();
  return ps ? ps->cur_y : 0;
}

int32_t TvtBandEngine::BottomLimit() {
  TvtPageForming* ps = CurrentForming();
  return ps ? ps->bottom : 0;
}

int32_t TvtBandEngine::RightEdge() {
  TvtPageForming* ps = CurrentForming();
  return ps ? ps->right : 0;
}

void TvtBandEngine::SetCurY(int32_t y) {
  TvtPageForming* ps = CurrentForming();
  if (!ps) return;
  ps->cur_y = y;
  auto* band = static_cast<TvtBand*>(g_.CurBand);
  if (band && (band->new_page_requests > 0 || band->new_column_requests > 0)) {
    band->position_set = true;
    band->assigned_y = y;
  }
}

void TvtBandEngine::NewPage() {
  if (auto* band = static_cast<TvtBand*>(g_.CurBand)) ++band->new_page_requests;
}

void TvtBandEngine::NewColumn() {
  if (auto* band = static_cast<TvtBand*>(g_.CurBand)) ++band->new_column_requests;
}

void TvtBandEngine::ShowBand(const std::string& name) {
  if (TvtPageForming* ps = CurrentForming()) ShowBandByName(*ps, name);
}

void TvtBandEngine::ShowProgressText(const std::string& text) {
  // The window has one label: the script's text takes it until the next progress step.
  if (report_.ShowProgress && !report_.OnProgress)
    g_.ui.show_progress_window(report_.ProgressCaption, text);
}

void TvtBandEngine::LoadBlobField(TvtView& view) {
  auto found = blob_fields_.find(&view);
  if (found == blob_fields_.end() || !IsBlobField(found->second, view.FieldName)) return;
  const ClientDataset& dataset = *found->second;
  const size_t field = dataset.field_index(view.FieldName);
  if (dataset.is_null(field))
    view.LoadFromBlobField(std::nullopt);
  else
    view.LoadFromBlobField(std::string(dataset.blob_bytes(field)));
}

// --- Aggregate host and running bands ---

TvtAggregateBand* TvtBandEngine::CurrentBand() {
  return static_cast<TvtBand*>(g_.CurBand);
}

TvtAggregateBand* TvtBandEngine::FindDataBand(std::string_view name) {
  TvtPageForming* ps = CurrentForming();
  if (!ps) return nullptr;
  std::string_view trimmed = name;
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.front()) <= ' ')
    trimmed.remove_prefix(1);
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= ' ')
    trimmed.remove_suffix(1);
  for (auto& band : ps->bands)
    if (band->view && (band->IsDataBand() || band->type() == btCrossData) &&
        same_band_name(band->Name, trimmed))
      return band.get();
  return nullptr;
}

TvtAggregateBand* TvtBandEngine::PageDataBand(AggregateLevel level) {
  TvtPageForming* ps = CurrentForming();
  if (!ps) return nullptr;
  int type = btMasterData;
  switch (level) {
    case AggregateLevel::MasterData:
      type = btMasterData;
      break;
    case AggregateLevel::DetailData:
      type = btDetailData;
      break;
    case AggregateLevel::SubdetailData:
      type = btSubDetailData;
      break;
    case AggregateLevel::CrossData:
      type = btCrossData;
      break;
    default:
      return nullptr;
  }
  TvtBand* band = ps->head(type);
  return band && band->view ? band : nullptr;
}

std::optional<int> TvtBandEngine::CurrentBandType() const {
  auto* band = static_cast<TvtBand*>(g_.CurBand);
  if (!band || !g_.CurPage || g_.CurPage->PageType == 1) return std::nullopt;
  return band->type();
}

TvtDataset* TvtBandEngine::DataBandDataset(int data_band_type) const {
  TvtPageForming* ps = CurrentForming();
  if (!ps || data_band_type < 0 || data_band_type > 22) return nullptr;
  TvtBand* band = ps->head(data_band_type);
  return band ? band->dataset() : nullptr;
}

}  // namespace zr
