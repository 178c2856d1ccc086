#include "engine/locale/locale_strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zr {

namespace {

// Sorted by number. Paper names (55008 onward) and the default bin (55435) have no text.
constexpr std::array<std::pair<int, const char*>, 14> kStrings{{
    {kStrVirtualPrinter, "Virtual printer"},
    // Display format patterns: booleans, dates, times.
    {kStrBooleanFormats + 0, "0;1"},
    {kStrBooleanFormats + 1, "No;Yes"},
    {kStrBooleanFormats + 2, "_;x"},
    {kStrBooleanFormats + 3, "False;True"},
    {kStrDateFormats + 0, "mm.dd.yy"},
    {kStrDateFormats + 1, "mm.dd.yyyy"},
    {kStrDateFormats + 2, "d mmm yyyy"},
    {kStrDateFormats + 3, "d mmmm yyyy"},
    {kStrTimeFormats + 0, "hh:nn:ss"},
    {kStrTimeFormats + 1, "h:nn:ss"},
    {kStrTimeFormats + 2, "hh:nn"},
    {kStrTimeFormats + 3, "h:nn"},
    {kStrUndefinedSymbol, "Undefined symbol"},
}};

}  // namespace

std::string LoadStr(int id) {
  auto found = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                [](const auto& entry, int key) { return entry.first < key; });
  return found != kStrings.end() && found->first == id ? found->second : "";
}

}  // namespace zr
