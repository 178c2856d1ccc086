#pragma once
// Which client dataset a field named without its dataset belongs to: the one of the data band
// that serves the band being printed. The band engine knows its running bands and answers the
// two questions of TvtRunningBands; the rule that picks the data band is kept here.

#include <optional>

namespace zr {

class ClientDataset;
class TvtDataset;

// Implemented by the band engine while it prepares a page. Not owned by its callers.
class TvtRunningBands {
 public:
  virtual ~TvtRunningBands() = default;
  // The type (TvtBandType) of the band being printed; nullopt when there is no current band,
  // no current page, or the current page is a dialog page.
  virtual std::optional<int> CurrentBandType() const = 0;
  // The dataset of the current page's data band of that type (btMasterData, btDetailData,
  // btSubDetailData or btCrossData); null when the page has no such band or it has none.
  virtual TvtDataset* DataBandDataset(int data_band_type) const = 0;
};

// The data band type serving bands of `band_type`, or nullopt: titles, summaries, page and
// master bands and groups are served by the master data band; detail data and footer by the
// detail data band; subdetail data and footer by the subdetail band; cross data and footer by
// the cross data band.
std::optional<int> ServingDataBandType(int band_type);

// The client dataset of the serving data band; null without running bands, a current band or
// a serving band, or when that band's dataset is not a bound TvtDBDataSet.
ClientDataset* CurrentBandDataSet(const TvtRunningBands* bands);

}  // namespace zr
