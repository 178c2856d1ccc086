#include "engine/run/current_band_dataset.h"

#include "engine/model/band_view.h"
#include "engine/run/db_dataset.h"

namespace zr {

std::optional<int> ServingDataBandType(int band_type) {
  switch (band_type) {
    case btReportTitle:
    case btReportSummary:
    case btPageHeader:
    case btPageFooter:
    case btMasterHeader:
    case btMasterData:
    case btMasterFooter:
    case btGroupHeader:
    case btGroupFooter:
      return btMasterData;
    case btDetailData:
    case btDetailFooter:
      return btDetailData;
    case btSubDetailData:
    case btSubDetailFooter:
      return btSubDetailData;
    case btCrossData:
    case btCrossFooter:
      return btCrossData;
    default:
      return std::nullopt;
  }
}

ClientDataset* CurrentBandDataSet(const TvtRunningBands* bands) {
  if (!bands) return nullptr;
  const std::optional<int> band_type = bands->CurrentBandType();
  if (!band_type) return nullptr;
  const std::optional<int> serving = ServingDataBandType(*band_type);
  if (!serving) return nullptr;
  auto* db_dataset = dynamic_cast<TvtDBDataSet*>(bands->DataBandDataset(*serving));
  return db_dataset ? db_dataset->BoundDataSet() : nullptr;
}

}  // namespace zr
