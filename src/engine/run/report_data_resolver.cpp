#include "engine/run/report_data_resolver.h"

#include "engine/run/dataset_field.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace zr {

std::optional<TvtCacheItem> TvtReportDataResolver::resolve_field(std::string_view text) {
  ClientDataset* dataset = CurrentBandDataSet(bands_);
  std::string field = FindDatasetField(text, dataset, components_);
  if (field.empty()) return std::nullopt;
  return TvtCacheItem{DatasetHandle(dataset), std::move(field)};
}

void TvtReportDataResolver::open_if_closed(DatasetHandle dataset) {
  ClientDataset* table = dataset.get<ClientDataset>();
  if (table && !table->is_open()) table->open();
}

Value TvtReportDataResolver::field_value(DatasetHandle dataset, std::string_view field_name) {
  ClientDataset* table = dataset.get<ClientDataset>();
  return table ? GetFieldValue(*table, field_name) : Value::null();
}

std::vector<std::string> TvtReportDataResolver::dataset_names() {
  std::vector<std::string> names;
  const TvtComponentContainer* owner = components_.Owner();
  if (!owner) return names;
  for (const ComponentRef& component : owner->Components()) {
    if (std::holds_alternative<ClientDataset*>(component)) {
      names.push_back(ComponentName(component));
    }
  }
  return names;
}

std::vector<std::string> TvtReportDataResolver::field_names(std::string_view dataset_name) {
  ClientDataset* table = OwnedDataset(dataset_name);
  if (!table) return {};
  try {
    if (!table->is_open()) table->open();
  } catch (const ZorelError&) {
    return {};  // a listing shows no fields rather than failing
  }
  return table->field_names();
}

ClientDataset* TvtReportDataResolver::OwnedDataset(std::string_view name) const {
  const TvtComponentContainer* owner = components_.Owner();
  if (!owner) return nullptr;
  const ComponentRef found = owner->Find(name);
  auto* const* table = std::get_if<ClientDataset*>(&found);
  return table ? *table : nullptr;
}

}  // namespace zr
