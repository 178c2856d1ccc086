#include "viewer/section_components.h"

#include <system_error>
#include <variant>

#include "platform/errors.h"
#include "viewer/relation_record.h"
#include "viewer/section_datasets.h"

namespace zr {

namespace {

template <typename T>
T* find_as(const TvtComponentContainer& form, const std::string& name) {
  ComponentRef ref = form.Find(name);
  if (std::holds_alternative<std::monostate>(ref)) return nullptr;
  if (auto* component = std::get_if<T*>(&ref)) return *component;
  throw ZorelError("The component " + name + " of the form is not of the kind a section needs");
}

TvtDBDataSet* find_report_dataset(const TvtComponentContainer& form, const std::string& name) {
  TvtDataset* dataset = find_as<TvtDataset>(form, name);
  if (!dataset) return nullptr;
  auto* db = dynamic_cast<TvtDBDataSet*>(dataset);
  if (!db) throw ZorelError("The component " + name + " of the form is not a TvtDBDataSet");
  return db;
}

template <typename T>
T* find_quietly(const TvtComponentContainer& form, const std::string& name) {
  ComponentRef ref = form.Find(name);
  auto* component = std::get_if<T*>(&ref);
  return component ? *component : nullptr;
}

}  // namespace

void SectionComponents::DestroyDatasets() {
  std::vector<ComponentRef> report_datasets, client_datasets;
  for (const ComponentRef& ref : form_.Components()) {
    if (auto* table = std::get_if<ClientDataset*>(&ref)) {
      if ((*table)->is_open()) (*table)->empty();
      (*table)->close();
      client_datasets.push_back(ref);
    } else if (auto* dataset = std::get_if<TvtDataset*>(&ref)) {
      if (dynamic_cast<TvtDBDataSet*>(*dataset)) report_datasets.push_back(ref);
    }
  }
  for (const ComponentRef& ref : report_datasets) form_.Remove(ref);
  for (const ComponentRef& ref : client_datasets) form_.Remove(ref);
}

void SectionComponents::UnlinkDatasets() {
  for (const ComponentRef& ref : form_.Components()) {
    auto* table = std::get_if<ClientDataset*>(&ref);
    if (!table) continue;
    ClientDataset& dataset = **table;
    // Each step on its own: a dataset that refuses one still gets the others.
    try {
      dataset.set_index_field_names("");
    } catch (const ZorelError&) {
    }
    try {
      dataset.set_master_fields("");
    } catch (const ZorelError&) {
    }
    try {
      dataset.set_data_source(nullptr);
    } catch (const ZorelError&) {
    }
    if (dataset.is_open()) dataset.empty();
  }
}

ClientDataset& SectionComponents::DatasetFor(const std::string& name) {
  if (ClientDataset* existing = find_as<ClientDataset>(form_, name)) return *existing;
  return form_.Create<ClientDataset>(name);
}

TvtDBDataSet& SectionComponents::Bind(const std::string& name) {
  ClientDataset& table = DatasetFor(name);
  const std::string wrapper_name = "dataset" + name;
  TvtDBDataSet* wrapper = find_report_dataset(form_, wrapper_name);
  if (!wrapper) wrapper = &form_.Create<TvtDBDataSet>(wrapper_name);
  wrapper->SetDataSet(nullptr);
  wrapper->SetDataSet(&table);
  const std::string source_name = "DS" + name;
  DataSource* source = find_as<DataSource>(form_, source_name);
  if (!source) source = &form_.Create<DataSource>(source_name);
  source->set_dataset(&table);
  return *wrapper;
}

void SectionComponents::LoadSection(const std::string& name, const std::filesystem::path& file) {
  ClientDataset& table = DatasetFor(name);
  table.close();
  table.load_from_file(file.string());
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

void SectionComponents::ApplyRelations(const std::vector<std::string>& relation_lines) {
  for (const RelationRecord& relation : parse_relations(relation_lines)) {
    ClientDataset* detail = find_quietly<ClientDataset>(form_, relation.detail);
    DataSource* master = find_quietly<DataSource>(form_, relation.master_source);
    if (detail && master) apply_relation(relation, *detail, *master);
  }
}

ClientDataset* SectionComponents::FindDataset(const std::string& name) const {
  return find_quietly<ClientDataset>(form_, name);
}

DataSource* SectionComponents::FindSource(const std::string& name) const {
  return find_quietly<DataSource>(form_, name);
}

}  // namespace zr
