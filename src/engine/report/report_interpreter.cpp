#include "engine/report/report_interpreter.h"

#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"

namespace zr {

void TInterpretator::ReadVariable(const std::string& name, Value& value) {
  if (globals_.CurReport) {
    globals_.CurReport->ResolveValue(name, value);
    return;
  }
  int i = globals_.ScriptVariables.IndexOf(name);
  if (i >= 0) value = globals_.ScriptVariables.ValueAt(i);
}

void TInterpretator::WriteVariable(const std::string& name, const Value& value) {
  if (globals_.CurReport) {
    globals_.CurReport->WriteVariable(name, value);
    return;
  }
  globals_.ScriptVariables.SetVariable(name, value);
}

void TInterpretator::CallFunction(const std::string& name, const Value& p1, const Value& p2,
                                  const Value& p3, Value& value) {
  if (globals_.CurReport) {
    globals_.CurReport->DispatchFunction(name, p1, p2, p3, value);
    return;
  }
  DispatchToLibraries(globals_.functions, name, p1, p2, p3, value);
}

}  // namespace zr
