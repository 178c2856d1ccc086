#pragma once
// TvtStdFunctionLibrary: the functions every report has (text, date and number formatting,
// input and message boxes) and the aggregates SUM, AVG, MIN, MAX and COUNT.
//
// Results start as the string "0". Argument conversions that fail raise ConversionError;
// every error propagates to the caller. INPUT and MESSAGEBOX go through the context's
// UiServices. Aggregates need the context's TvtAggregateState (see aggregates.h): while it
// collects they register, otherwise they read from the current band's owner; without a
// state, a host or an owner they give "0".

#include <string_view>

#include "engine/run/function_library.h"

namespace zr {

class TvtStdFunctionLibrary : public TvtFunctionLibrary {
 public:
  static constexpr std::string_view kClassName = "TvtStdFunctionLibrary";

  explicit TvtStdFunctionLibrary(FunctionContext& context);
  std::string_view ClassName() const override { return kClassName; }
  void EvalFunction(int fno, const Value& p1, const Value& p2, const Value& p3,
                    Value& val) override;

 private:
  void RegisterDescriptions();
  Value Aggregate(int fno, const Value& p1, const Value& p2, const Value& p3) const;
};

}  // namespace zr
