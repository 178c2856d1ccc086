#pragma once
// A bookmark: an opaque, copyable mark of one record of one ClientDataset. It stays valid
// across index changes and master moves and becomes invalid when the dataset is loaded
// again, emptied or closed. A default-constructed bookmark marks nothing.

#include <cstdint>

namespace zr {

class ClientDataset;

class Bookmark {
 public:
  Bookmark() = default;
  bool is_null() const { return owner_ == nullptr; }
  friend bool operator==(const Bookmark&, const Bookmark&) = default;

 private:
  friend class ClientDataset;
  Bookmark(const ClientDataset* owner, uint64_t generation, uint32_t row)
      : owner_(owner), generation_(generation), row_(row) {}

  const ClientDataset* owner_ = nullptr;
  uint64_t generation_ = 0;
  uint32_t row_ = 0;
};

}  // namespace zr
