#pragma once
// The additional function library: 47 string, number and date functions, consulted after the
// standard library. Results start as the integer 0. Argument conversions that fail raise
// ConversionError, as do STRTOINT, STRTOFLOAT, INCDATE and INCTIME; the ...DEF and VALID...
// functions catch their own conversion failure. DATEDIFF and SWAP assign script variables
// through the context's run_script_line. Texts are bytes: positions and lengths count bytes.
// Texts they build (REPLICATE, the PAD functions, INSERT, REPLACESTR) are limited to
// kMaxTextLength bytes (text_limit.h); longer ones raise ZorelError "Text too long".

#include <string>
#include <string_view>

#include "engine/run/function_library.h"

namespace zr {

class TAddFunctionLibrary : public TvtFunctionLibrary {
 public:
  static constexpr std::string_view kClassName = "TAddFunctionLibrary";

  explicit TAddFunctionLibrary(FunctionContext& context);
  std::string_view ClassName() const override { return kClassName; }
  void EvalFunction(int fno, const Value& p1, const Value& p2, const Value& p3,
                    Value& val) override;

 private:
  void RegisterDescriptions();
  void RunScriptLine(const std::string& line) const;
  Value DateFunction(int fno, const Value& p1, const Value& p2, const Value& p3);
  Value TextFunction(int fno, const Value& p1, const Value& p2, const Value& p3);
  Value ConversionFunction(int fno, const Value& p1, const Value& p2, const Value& p3);
};

// The component placed on the viewer's form. Its one property, FormatDate, is stored here
// and in a string shared by the module (which the engine state owns); no function reads it.
class TvtAddFunctionLibrary {
 public:
  // `shared` (not owned, may be null) is cleared now, as when the component is created.
  explicit TvtAddFunctionLibrary(std::string* shared);
  const std::string& FormatDate() const { return format_date_; }
  void SetFormatDate(std::string value);

 private:
  std::string* shared_;
  std::string format_date_;
};

}  // namespace zr
