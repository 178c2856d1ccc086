#pragma once
// The add-in object registry: classes of report objects beyond the five built-in kinds
// (grid, chart, cross-tab, barcode, shape, check box, rounded rectangle), found by their
// exact class name when a record of type 10 is read. Filled once at start-up by each add-in
// module. Not thread-safe.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

class TvtView;

struct TvtAddInObjectInfo {
  std::string class_name;
  std::function<std::unique_ptr<TvtView>()> create;  // the virtual constructor
  std::string button_picture;                        // design tool only
  std::string hint;
};

class TvtAddInRegistry {
 public:
  // A class already present is not added again.
  void Register(TvtAddInObjectInfo info);
  // Later entries move down; unknown names are ignored.
  void Unregister(std::string_view class_name);
  // Exact class name; null when absent.
  const TvtAddInObjectInfo* Find(std::string_view class_name) const;
  const std::vector<TvtAddInObjectInfo>& Items() const { return items_; }

 private:
  std::vector<TvtAddInObjectInfo> items_;
};

}  // namespace zr
