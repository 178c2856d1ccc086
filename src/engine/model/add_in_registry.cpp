#include "engine/model/add_in_registry.h"

#include <algorithm>

namespace zr {

void TvtAddInRegistry::Register(TvtAddInObjectInfo info) {
  if (Find(info.class_name)) return;
  items_.push_back(std::move(info));
}

void TvtAddInRegistry::Unregister(std::string_view class_name) {
  std::erase_if(items_, [&](const TvtAddInObjectInfo& i) { return i.class_name == class_name; });
}

const TvtAddInObjectInfo* TvtAddInRegistry::Find(std::string_view class_name) const {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&](const TvtAddInObjectInfo& i) { return i.class_name == class_name; });
  return it == items_.end() ? nullptr : &*it;
}

}  // namespace zr
