#pragma once
// The dataset of a band, resolved from the text the band keeps. The band engine resolves it
// when it prepares a page and releases it when the band is done.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run/component_directory.h"
#include "engine/run/report_dataset.h"

namespace zr {

struct TvtBandDataset {
  TvtDataset* dataset = nullptr;      // null: the band has no dataset
  std::unique_ptr<TvtDataset> owned;  // the band's own dataset, when it made one
};

// Splits a component path at each ".".
std::vector<std::string> SplitComponentPath(std::string_view path);

// Resolves a band's dataset text and starts the walk (StartIteration) of what it finds:
//  - a text beginning with a digit 1-9 makes an owned TvtUserDataset counting that many
//    records (reCount); ConversionError when the text is no integer;
//  - anything else ("0" included) is a component path of one to three names
//    (TvtComponentDirectory::FindPath). A broken path raises ZorelError "Missing <path>"; a
//    component that is not a report dataset raises ZorelError "Invalid class typecast: ...";
//    a path that finds nothing, or an empty text, gives no dataset.
// Errors of StartIteration propagate.
TvtBandDataset ResolveBandDataset(std::string_view text, const TvtComponentDirectory& components);

// EndIteration of the band's dataset, then the owned one is destroyed. The result is empty
// afterwards, also when EndIteration raises.
void ReleaseBandDataset(TvtBandDataset& band_dataset);

}  // namespace zr
