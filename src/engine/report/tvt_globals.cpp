#include "engine/report/tvt_globals.h"

#include "engine/locale/locale_strings.h"
#include "engine/report/report.h"
#include "engine/report/report_interpreter.h"
#include "engine/run/add_function_library.h"
#include "engine/run/constant_list.h"
#include "engine/run/std_function_library.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"

namespace zr {

TvtGlobals* TvtGlobals::current_ = nullptr;

TvtGlobals::TvtGlobals(UiServices& ui_services, PrinterSystem& printers, const Clock& clk,
                       HttpClient* http_client)
    : ui(ui_services),
      clock(clk),
      http(http_client),
      format_settings(FormatSettings::defaults()),
      fonts(std::make_shared<FontResolver>()),
      measuring_canvas(fonts),
      printer(printers),
      function_context{GlobalParser, ui_services, format_settings, clk, installed_functions},
      functions(function_context) {
  if (current_) throw ZorelError("The report engine is already started", ErrorKind::Argument);
  printer.SetPrinter();
  function_context.aggregates = &aggregates;
  function_context.load_string = [](int number) { return LoadStr(number); };
  functions.RegisterFunctionLibrary<TvtStdFunctionLibrary>();
  functions.RegisterFunctionLibrary<TAddFunctionLibrary>();
  GlobalInterpreter = std::make_unique<TInterpretator>(*this);
  // Scripts run while a report is prepared; a loop without end must still see the cancel.
  GlobalInterpreter->OnCancel = [this] {
    TvtReport* report = MasterReport ? MasterReport : CurReport;
    return Building && report && report->CheckProgressCancel();
  };
  function_context.run_script_line = [this](const std::string& line) {
    std::vector<std::string> errors = GlobalInterpreter->CompileAndRun({line});
    if (!errors.empty()) throw ZorelError(errors.front());
  };
  ScriptVariables.SetSorted(true);
  FillConstantList(ConstantList);
  GlobalParser.OnGetValue = [this](const std::string& name, Value& value) {
    GlobalInterpreter->ReadVariable(name, value);
  };
  GlobalParser.OnFunction = [this](const std::string& name, const Value& p1, const Value& p2,
                                   const Value& p3, Value& value) {
    GlobalInterpreter->CallFunction(name, p1, p2, p3, value);
  };
  current_ = this;
}

TvtGlobals::~TvtGlobals() {
  if (current_ == this) current_ = nullptr;
}

TvtGlobals& TvtGlobals::Get() {
  if (!current_) throw ZorelError("The report engine is not started", ErrorKind::Argument);
  return *current_;
}

void TvtGlobals::RunScript(const std::vector<std::string>& script) {
  if (script.empty()) return;
  std::vector<std::string> errors = GlobalInterpreter->CompileAndRun(script);
  if (!errors.empty()) throw ZorelError(errors.front());
}

}  // namespace zr
