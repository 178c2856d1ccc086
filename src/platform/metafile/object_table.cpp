#include "platform/metafile/object_table.h"

#include <algorithm>

namespace zr {

int ObjectTable::create() {
  auto free = std::find(used_.begin(), used_.end(), false);
  if (free == used_.end()) free = used_.insert(used_.end(), false);
  *free = true;
  return static_cast<int>(free - used_.begin()) + first_;
}

int ObjectTable::select(GdiObjectKind kind, int slot) {
  int old = current_[static_cast<int>(kind)];
  current_[static_cast<int>(kind)] = slot;
  if (old == kStock || old == slot || referenced(old)) return kStock;
  release(old);
  return old;
}

bool ObjectTable::restore(std::vector<int>& to_delete) {
  to_delete.clear();
  if (saved_.empty()) return false;
  std::array<int, 3> old = current_;
  current_ = saved_.back();
  saved_.pop_back();
  for (int slot : old) {
    if (slot == kStock || referenced(slot)) continue;
    if (std::find(current_.begin(), current_.end(), slot) != current_.end()) continue;
    release(slot);
    to_delete.push_back(slot);
  }
  return true;
}

bool ObjectTable::referenced(int slot) const {
  for (const auto& state : saved_)
    if (std::find(state.begin(), state.end(), slot) != state.end()) return true;
  return false;
}

}  // namespace zr
