#include "engine/model/variables.h"

#include <algorithm>

#include "platform/codepage.h"

namespace zr {

std::string name_key(std::string_view name) {
  return ansi_upper(name);
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && name_key(a) == name_key(b);
}

namespace {

bool name_less(const TVariable& a, const TVariable& b) {
  return name_key(a.name) < name_key(b.name);
}

}  // namespace

void TvtVariables::Clear() {
  items_.clear();
  index_.clear();
}

void TvtVariables::SetVariable(std::string_view name, Value value) {
  const int found = IndexOf(name);
  if (found >= 0) {
    items_[found].value = std::move(value);
    return;
  }
  TVariable item{std::string(name), std::move(value)};
  if (!sorted_) {
    index_.emplace(name_key(name), Count());
    items_.push_back(std::move(item));
    return;
  }
  const auto at = std::upper_bound(items_.begin(), items_.end(), item, name_less);
  items_.insert(at, std::move(item));
  reindex();
}

Value TvtVariables::GetVariable(std::string_view name) const {
  const int found = IndexOf(name);
  return found >= 0 ? items_[found].value : Value::null();
}

int TvtVariables::IndexOf(std::string_view name) const {
  const auto found = index_.find(name_key(name));
  return found == index_.end() ? -1 : found->second;
}

std::string TvtVariables::NameAt(int index) const {
  return in_range(index) ? items_[index].name : std::string();
}

void TvtVariables::SetNameAt(int index, std::string_view name) {
  if (!in_range(index)) return;
  items_[index].name = std::string(name);
  if (sorted_) std::stable_sort(items_.begin(), items_.end(), name_less);
  reindex();
}

Value TvtVariables::ValueAt(int index) const {
  return in_range(index) ? items_[index].value : Value(int32_t{0});
}

void TvtVariables::SetValueAt(int index, Value value) {
  if (in_range(index)) items_[index].value = std::move(value);
}

void TvtVariables::Delete(int index) {
  if (!in_range(index)) return;
  items_.erase(items_.begin() + index);
  reindex();
}

void TvtVariables::SetSorted(bool sorted) {
  if (sorted && !sorted_) {
    std::stable_sort(items_.begin(), items_.end(), name_less);
    reindex();
  }
  sorted_ = sorted;
}

// After renames a name may occur twice; lookups find the first.
void TvtVariables::reindex() {
  index_.clear();
  for (int i = 0; i < Count(); ++i) index_.emplace(name_key(items_[i].name), i);
}

}  // namespace zr
