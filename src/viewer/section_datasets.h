#pragma once
// The run-time components of the data sections: for every section name N a client dataset
// named N and a data source "DS" + N over it. They live as long as the control and are found
// again by name (case-insensitively) on later loads, so a load reuses them instead of
// creating duplicates. Relation records link them as master and detail.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"
#include "viewer/relation_record.h"

namespace zr {

class SectionDatasets {
 public:
  SectionDatasets() = default;
  SectionDatasets(const SectionDatasets&) = delete;
  SectionDatasets& operator=(const SectionDatasets&) = delete;

  // The client dataset named `name`, created together with its data source when missing.
  ClientDataset& dataset_for(const std::string& name);
  ClientDataset* find_dataset(std::string_view name) const;
  DataSource* find_source(std::string_view name) const;
  std::vector<std::string> names() const;

  // Loads a section file into the dataset of `name`: the dataset is emptied and closed
  // first, so a failed load leaves it closed. Raises the reader's FormatError or IoError.
  ClientDataset& load_section(const std::string& name, const std::filesystem::path& file,
                              const DataPacketOptions& options = {});

  // Applies every relation record of the form. A record whose detail or master source does
  // not name a component here is skipped; errors of the table engine (an unknown field)
  // propagate.
  void apply_relations(const std::vector<std::string>& relation_lines);

 private:
  struct Section {
    explicit Section(const std::string& name) : dataset(name), source("DS" + name, &dataset) {}
    ClientDataset dataset;
    DataSource source;  // declared after the dataset: unlinks before the dataset goes
  };
  std::vector<std::unique_ptr<Section>> sections_;
};

// Makes `detail` a detail of `master` by index "inx" over the record's index fields, as a
// relation record says. Raises ZorelError from the table engine (unknown fields, empty list).
void apply_relation(const RelationRecord& relation, ClientDataset& detail, DataSource& master);

}  // namespace zr
