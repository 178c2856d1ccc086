#pragma once
// The cross views of the engine and, per report that has any, the report's own handlers of
// the events the views hook (kept in TvtGlobals, so each engine has its own chain).

#include <functional>
#include <string>
#include <vector>

namespace zr {

class TvtCrossView;
class TvtReport;
class TvtView;

struct TvtCrossViewHooks {
  struct SavedHandlers {
    TvtReport* report;
    std::function<void()> before_build, end_doc;
    std::function<void(std::vector<std::string>&, TvtView&)> before_print;
    std::function<void(int, int32_t&)> print_column;
  };
  std::vector<TvtCrossView*> views;  // in the order they were made
  std::vector<SavedHandlers> saved;
};

}  // namespace zr
