#pragma once
// The data dictionary's view of the report's data: field references resolved through the
// component directory, bare field names through the dataset of the band being printed.
// Dataset handles are ClientDataset pointers; they stay valid while the client datasets live,
// so the dictionary's cache must be cleared when they go. Neither the directory nor the
// running bands are owned; both must outlive the resolver's use of them.

#include "engine/model/data_resolver.h"
#include "engine/run/component_directory.h"
#include "engine/run/current_band_dataset.h"

namespace zr {

class TvtReportDataResolver : public DataResolver {
 public:
  explicit TvtReportDataResolver(const TvtComponentDirectory& components,
                                 const TvtRunningBands* bands = nullptr)
      : components_(components), bands_(bands) {}

  // The band engine sets its running bands while it prepares pages (null afterwards).
  void SetRunningBands(const TvtRunningBands* bands) { bands_ = bands; }

  // FindDatasetField with the current band's data set; its "Missing" error propagates.
  std::optional<TvtCacheItem> resolve_field(std::string_view text) override;
  void open_if_closed(DatasetHandle dataset) override;
  Value field_value(DatasetHandle dataset, std::string_view field_name) override;
  // The client datasets of the report's owner, in the owner's order.
  std::vector<std::string> dataset_names() override;
  // Fields of the owner's client dataset of that name (opened when closed); empty when there
  // is none or it cannot be opened.
  std::vector<std::string> field_names(std::string_view dataset_name) override;

 private:
  ClientDataset* OwnedDataset(std::string_view name) const;

  const TvtComponentDirectory& components_;
  const TvtRunningBands* bands_;
};

}  // namespace zr
