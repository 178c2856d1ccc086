#pragma once
// A data source: a named link to a dataset through which detail datasets follow it as their
// master (ClientDataset::set_data_source).
//
// Lifetime: neither side owns the other. Whichever of data source, master dataset or detail
// dataset is destroyed first unregisters itself, so no pointer dangles: destroying the data
// source or its dataset leaves the details unlinked (they show all their rows).

#include <string>
#include <vector>

namespace zr {

class ClientDataset;

class DataSource {
 public:
  explicit DataSource(std::string name = {}, ClientDataset* dataset = nullptr);
  ~DataSource();
  DataSource(const DataSource&) = delete;
  DataSource& operator=(const DataSource&) = delete;

  const std::string& name() const { return name_; }
  void set_name(std::string name) { name_ = std::move(name); }

  ClientDataset* dataset() const { return dataset_; }
  // Links another dataset (or none); details refresh at once. Raises ZorelError
  // "Circular datalinks are not allowed" when a detail would become its own master.
  void set_dataset(ClientDataset* dataset);

 private:
  friend class ClientDataset;
  void notify_details();
  void add_detail(ClientDataset* detail);
  void remove_detail(ClientDataset* detail);

  std::string name_;
  ClientDataset* dataset_ = nullptr;
  std::vector<ClientDataset*> details_;
};

}  // namespace zr
