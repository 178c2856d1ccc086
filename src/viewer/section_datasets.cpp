#include "viewer/section_datasets.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/text_lines.h"

namespace zr {

namespace {
constexpr const char* kRelationIndex = "inx";
}

ClientDataset& SectionDatasets::dataset_for(const std::string& name) {
  if (ClientDataset* existing = find_dataset(name)) return *existing;
  sections_.push_back(std::make_unique<Section>(name));
  return sections_.back()->dataset;
}

ClientDataset* SectionDatasets::find_dataset(std::string_view name) const {
  for (const auto& section : sections_)
    if (same_text_ascii(section->dataset.name(), name)) return &section->dataset;
  return nullptr;
}

DataSource* SectionDatasets::find_source(std::string_view name) const {
  for (const auto& section : sections_)
    if (same_text_ascii(section->source.name(), name)) return &section->source;
  return nullptr;
}

std::vector<std::string> SectionDatasets::names() const {
  std::vector<std::string> names;
  for (const auto& section : sections_) names.push_back(section->dataset.name());
  return names;
}

ClientDataset& SectionDatasets::load_section(const std::string& name,
                                             const std::filesystem::path& file,
                                             const DataPacketOptions& options) {
  ClientDataset& dataset = dataset_for(name);
  if (dataset.is_open()) dataset.empty();
  dataset.close();
  dataset.load_from_file(file.string(), options);
  return dataset;
}

void SectionDatasets::apply_relations(const std::vector<std::string>& relation_lines) {
  for (const RelationRecord& relation : parse_relations(relation_lines)) {
    ClientDataset* detail = find_dataset(relation.detail);
    DataSource* master = find_source(relation.master_source);
    if (detail && master) apply_relation(relation, *detail, *master);
  }
}

void apply_relation(const RelationRecord& relation, ClientDataset& detail, DataSource& master) {
  detail.set_data_source(&master);
  std::vector<std::string> indexes = detail.index_names();
  if (std::any_of(indexes.begin(), indexes.end(),
                  [](const std::string& n) { return same_text_ascii(n, kRelationIndex); }))
    detail.delete_index(kRelationIndex);
  std::string descending(trim_blanks(relation.descending_fields));
  IndexOptions options;
  options.descending = !descending.empty();
  detail.add_index(kRelationIndex, relation.index_fields, options, descending);
  detail.set_index_name(kRelationIndex);
  detail.set_master_fields(relation.master_fields);
}

}  // namespace zr
