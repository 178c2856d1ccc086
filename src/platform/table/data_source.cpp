#include "platform/table/data_source.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace zr {

DataSource::DataSource(std::string name, ClientDataset* dataset) : name_(std::move(name)) {
  set_dataset(dataset);
}

DataSource::~DataSource() {
  if (dataset_) std::erase(dataset_->sources_, this);
  std::vector<ClientDataset*> details = std::move(details_);
  details_.clear();
  for (ClientDataset* detail : details) {
    detail->data_source_ = nullptr;
    detail->refresh_from_master();
  }
}

void DataSource::set_dataset(ClientDataset* dataset) {
  if (dataset == dataset_) return;
  for (ClientDataset* up = dataset; up;
       up = up->data_source_ ? up->data_source_->dataset() : nullptr)
    if (std::find(details_.begin(), details_.end(), up) != details_.end())
      throw ZorelError("Circular datalinks are not allowed");
  if (dataset_) std::erase(dataset_->sources_, this);
  dataset_ = dataset;
  if (dataset_) dataset_->sources_.push_back(this);
  notify_details();
}

void DataSource::notify_details() {
  std::vector<ClientDataset*> details = details_;
  for (ClientDataset* detail : details) detail->refresh_from_master();
}

void DataSource::add_detail(ClientDataset* detail) {
  details_.push_back(detail);
}

void DataSource::remove_detail(ClientDataset* detail) {
  std::erase(details_, detail);
}

}  // namespace zr
