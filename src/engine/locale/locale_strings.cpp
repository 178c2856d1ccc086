#include "engine/locale/locale_strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zr {

namespace {

// Sorted by number. Paper names (55008 onward) and the default bin (55435) have no text.
constexpr std::array<std::pair<int, const char*>, 24> kStrings{{
    {kStrVirtualPrinter, "Virtual printer"},    {kStrFirstBandName + 0, "Report title"},
    {kStrFirstBandName + 1, "Report summary"},  {kStrFirstBandName + 2, "Page header"},
    {kStrFirstBandName + 3, "Page footer"},     {kStrFirstBandName + 4, "Master header"},
    {kStrFirstBandName + 5, "Master data"},     {kStrFirstBandName + 6, "Master footer"},
    {kStrFirstBandName + 7, "Detail header"},   {kStrFirstBandName + 8, "Detail data"},
    {kStrFirstBandName + 9, "Detail footer"},   {kStrFirstBandName + 10, "Subdetail header"},
    {kStrFirstBandName + 11, "Subdetail data"}, {kStrFirstBandName + 12, "Subdetail footer"},
    {kStrFirstBandName + 13, "Overlay"},        {kStrFirstBandName + 14, "Column header"},
    {kStrFirstBandName + 15, "Column footer"},  {kStrFirstBandName + 16, "Group header"},
    {kStrFirstBandName + 17, "Group footer"},   {kStrFirstBandName + 18, "Cross header"},
    {kStrFirstBandName + 19, "Cross data"},     {kStrFirstBandName + 20, "Cross footer"},
    {kStrFirstBandName + 21, "Child"},          {kStrFirstBandName + 22, "None"},
}};

}  // namespace

std::string LoadStr(int id) {
  auto found = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                [](const auto& entry, int key) { return entry.first < key; });
  return found != kStrings.end() && found->first == id ? found->second : "";
}

}  // namespace zr
