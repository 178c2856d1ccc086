// The export filter base and the registry of formats.
#include "engine/model/export_filter.h"

#include <algorithm>
#include <typeinfo>

#include "engine/report/tvt_globals.h"
#include "platform/errors.h"

namespace zr {

TvtExportFilter::~TvtExportFilter() {
  if (TvtGlobals* g = TvtGlobals::Find()) g->export_filters.Unregister(*this);
}

void TvtExportFilter::RegisterFilter(const std::string& description, const std::string& mask) {
  if (TvtGlobals* g = TvtGlobals::Find()) g->export_filters.Register(*this, description, mask);
}

bool TvtExportFilters::Register(TvtExportFilter& filter, std::string description,
                                std::string mask) {
  const bool listed = std::any_of(rows_.begin(), rows_.end(), [&](const TvtExportFilterInfo& row) {
    return typeid(*row.Filter) == typeid(filter);
  });
  if (listed || Count() >= kMaxFilters) return false;
  rows_.push_back({&filter, std::move(description), std::move(mask)});
  return true;
}

void TvtExportFilters::Unregister(const TvtExportFilter& filter) {
  std::erase_if(rows_, [&](const TvtExportFilterInfo& row) { return row.Filter == &filter; });
}

const TvtExportFilterInfo& TvtExportFilters::Items(int index) const {
  if (index < 0 || index >= Count())
    throw ZorelError("List index out of bounds (" + std::to_string(index) + ")");
  return rows_[static_cast<size_t>(index)];
}

}  // namespace zr
