#pragma once
// TInterpretator: the interpreter every report script runs in. Names are read through the
// current report's value resolver, functions go to its dispatcher and assignments to its
// write operation. Without a current report, names read from the script variables and
// functions go to the registered libraries.

#include "engine/run/interpreter.h"

namespace zr {

class TvtGlobals;

class TInterpretator : public TvtInterpretator {
 public:
  explicit TInterpretator(TvtGlobals& globals) : globals_(globals) {}

  void ReadVariable(const std::string& name, Value& value) override;
  void WriteVariable(const std::string& name, const Value& value) override;
  void CallFunction(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                    Value& value) override;

 private:
  TvtGlobals& globals_;
};

}  // namespace zr
