#pragma once
// The run-time components a load makes for its data sections, kept among the components of
// the control's form (the report's owner container, where report forms find them by name):
// for a section N the client dataset N, the report dataset "dataset" + N over it and the data
// source "DS" + N. Client datasets and report datasets live for one run; data sources stay
// for the control's life and are found again by name and reused by the next load.
//
// Names compare case-insensitively. A name that already belongs to a component of another
// kind raises ZorelError (the load stops with it). Not thread-safe.

#include <filesystem>
#include <string>
#include <vector>

#include "engine/run/component_directory.h"
#include "engine/run/db_dataset.h"
#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"

namespace zr {

class SectionComponents {
 public:
  // `form` is not owned and must outlive this object.
  explicit SectionComponents(TvtComponentContainer& form) : form_(form) {}

  // The end of a run: every client dataset emptied and closed, then every report dataset
  // and every client dataset of the form destroyed. Data sources are kept.
  void DestroyDatasets();
  // The start of a load: every client dataset loses its index field list, master fields and
  // data source (errors of each ignored), and an open one is emptied.
  void UnlinkDatasets();

  // Finds or creates the client dataset N, the report dataset "dataset" + N (pointed at it)
  // and the data source "DS" + N (linked to it), and returns the report dataset.
  TvtDBDataSet& Bind(const std::string& name);
  // Closes the client dataset N, loads the section file into it and deletes the file.
  // Raises the reader's FormatError or IoError; the file then stays.
  void LoadSection(const std::string& name, const std::filesystem::path& file);

  // Applies the form's relation records: detail = the client dataset named by field 1,
  // master = the data source named by field 2. Records naming no such components are
  // skipped; errors of the table engine (an unknown field) propagate.
  void ApplyRelations(const std::vector<std::string>& relation_lines);

  ClientDataset* FindDataset(const std::string& name) const;
  DataSource* FindSource(const std::string& name) const;

 private:
  ClientDataset& DatasetFor(const std::string& name);
  TvtComponentContainer& form_;
};

}  // namespace zr
