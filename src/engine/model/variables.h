#pragma once
// TvtVariables: an ordered list of (name, value) pairs with case-insensitive names. It holds
// report variables and categories in the data dictionary, aliases, band sources, script
// variables and named constants.
//
// Indices are 0-based. Names compare ignoring letter case (ASCII letters; the trail bytes
// of double-byte characters are never folded). A name is present at most once as long as
// entries are added through SetVariable; SetNameAt renames without checking.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/value.h"

namespace zr {

// The form in which names compare: equal keys mean the same name.
std::string name_key(std::string_view name);
bool same_name(std::string_view a, std::string_view b);

struct TVariable {
  std::string name;
  Value value;
};

class TvtVariables {
 public:
  void Clear();
  // Overwrites the value of an existing name (keeping its spelling), else adds the entry:
  // at the end, or at its place when the list is sorted.
  void SetVariable(std::string_view name, Value value);
  // The value, or null when the name is absent.
  Value GetVariable(std::string_view name) const;
  int IndexOf(std::string_view name) const;  // -1 when absent
  int Count() const { return static_cast<int>(items_.size()); }

  // Out-of-range reads give "" and integer 0; out-of-range writes and deletes do nothing.
  std::string NameAt(int index) const;
  void SetNameAt(int index, std::string_view name);  // a sorted list moves the entry
  Value ValueAt(int index) const;
  void SetValueAt(int index, Value value);
  void Delete(int index);

  // Keeps the list sorted by name (case-insensitive) from now on.
  void SetSorted(bool sorted);
  bool Sorted() const { return sorted_; }

  const std::vector<TVariable>& Items() const { return items_; }

 private:
  bool in_range(int index) const { return index >= 0 && index < Count(); }
  void reindex();

  std::vector<TVariable> items_;
  std::unordered_map<std::string, int> index_;  // name_key -> position
  bool sorted_ = false;
};

}  // namespace zr
