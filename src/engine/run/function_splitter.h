#pragma once
// TvtFunctionSplitter finds every call of the listed functions inside an expression, also
// inside the variables the expression names (their values are expressions too). The
// aggregate functions use it to find their calls before a report runs.
//
// Raises UnbalancedArgumentsError for an argument list that does not close, and ZorelError
// when calls and variables nest deeper than kMaxEvaluationDepth (a variable naming itself).

#include <string>
#include <string_view>
#include <vector>

#include "engine/model/variables.h"

namespace zr {

class TvtFunctionSplitter {
 public:
  // `variables` may be null (no variables); when set it must outlive the splitter.
  TvtFunctionSplitter(std::vector<std::string> match_funcs, const TvtVariables* variables)
      : MatchFuncs(std::move(match_funcs)), variables_(variables) {}

  // Function names, compared without regard to case.
  std::vector<std::string> MatchFuncs;
  // The calls found, in the order their closing ")" was reached: the source text from the
  // position where scanning of the name began (blanks before the name included) through
  // the ")".
  std::vector<std::string> SplitTo;

  void Split(std::string_view expression) { split(expression, 0); }

 private:
  void split(std::string_view expression, int depth);
  bool matches(std::string_view name) const;
  const TVariable* variable(std::string_view name) const;

  const TvtVariables* variables_;
};

}  // namespace zr
