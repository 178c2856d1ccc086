#include "engine/locale/locale_strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zr {

namespace {

// Sorted by number. Paper names (55008 onward) and the default bin (55435) have no text.
constexpr std::array<std::pair<int, const char*>, 1> kStrings{{
    {kStrVirtualPrinter, "Virtual printer"},
}};

}  // namespace

std::string LoadStr(int id) {
  auto found = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                [](const auto& entry, int key) { return entry.first < key; });
  return found != kStrings.end() && found->first == id ? found->second : "";
}

}  // namespace zr
