#pragma once
// What the function libraries take from the running engine. Classic code reached these
// through process-wide singletons; here one context object is handed to every library, and
// the engine state object (TvtGlobals) owns it. Everything referenced must outlive the
// libraries built with the context.

#include <functional>
#include <string>

#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "platform/ui_services.h"

namespace zr {

class TvtParser;
class TvtInstalledFunctions;
struct TvtAggregateState;

struct FunctionContext {
  // Evaluates argument texts. Libraries re-enter it; its OnFunction usually dispatches back
  // to the libraries.
  TvtParser& parser;
  UiServices& ui;
  const FormatSettings& fs;
  const Clock& clock;
  // Receives the descriptions the libraries register (the function picker's list).
  TvtInstalledFunctions& installed;
  // The aggregates' collecting state and the band engine's hooks; null outside a report
  // run, where aggregate calls read as "0".
  TvtAggregateState* aggregates = nullptr;
  // Compiles and runs one script line through the shared interpreter (DATEDIFF and SWAP
  // assign script variables this way). Unset: those functions raise ZorelError.
  std::function<void(const std::string& line)> run_script_line{};
  // The engine's numbered interface texts; unset or a number without text gives "".
  std::function<std::string(int number)> load_string{};

  std::string LoadString(int number) const { return load_string ? load_string(number) : ""; }
};

}  // namespace zr
