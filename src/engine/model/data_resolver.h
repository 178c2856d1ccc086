#pragma once
// What the data dictionary needs from the report's datasets: resolving "dataset.field" text,
// reading a field, and listing datasets and fields. The report datasets implement it; the
// dictionary only calls it and never owns it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/value.h"

namespace zr {

// Names a dataset for the resolver that handed it out. The dictionary stores handles and
// passes them back without looking inside; a handle must stay valid until the dictionary's
// cache is cleared (the report clears it when it frees its datasets).
class DatasetHandle {
 public:
  DatasetHandle() = default;
  template <typename T>
  explicit DatasetHandle(T* dataset) : ptr_(dataset) {}

  template <typename T>
  T* get() const {
    return static_cast<T*>(ptr_);
  }
  explicit operator bool() const { return ptr_ != nullptr; }
  bool operator==(const DatasetHandle&) const = default;

 private:
  void* ptr_ = nullptr;
};

// A resolved field: the cache item of the dictionary.
struct TvtCacheItem {
  DatasetHandle dataset;
  std::string field_name;
};

class DataResolver {
 public:
  virtual ~DataResolver() = default;

  // Resolves "dataset.field" text, where the field part may be double-quoted, or a bare
  // field name of the current band's dataset. nullopt when it names no field.
  virtual std::optional<TvtCacheItem> resolve_field(std::string_view text) = 0;
  virtual void open_if_closed(DatasetHandle dataset) = 0;
  // The current value of the field (null without a current record).
  virtual Value field_value(DatasetHandle dataset, std::string_view field_name) = 0;
  // The names of the datasets of the report's owner.
  virtual std::vector<std::string> dataset_names() = 0;
  // The field names of the named dataset, opened when closed; empty when there is none.
  virtual std::vector<std::string> field_names(std::string_view dataset_name) = 0;
};

}  // namespace zr
