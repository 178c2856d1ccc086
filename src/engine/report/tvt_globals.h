#pragma once
// TvtGlobals: the engine's one process-wide state. The engine is single-threaded and not
// re-entrant across reports; its objects (parser, interpreter, script variables, constants,
// function libraries, add-in registry, printer, measuring canvas) and the report-wide state
// (current report, page, band and view, design or run mode, pass flags) live here instead of
// in scattered statics.
//
// Lifetime: a host creates exactly one TvtGlobals at start-up (a scope object: it installs
// itself on construction and removes itself on destruction) and keeps it while any report
// exists. Get() raises ZorelError when none is installed. The services handed to the
// constructor must outlive it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/add_in_registry.h"
#include "engine/model/cross_view_hooks.h"
#include "engine/model/export_filter.h"
#include "engine/model/variables.h"
#include "engine/printer/printer.h"
#include "engine/run/aggregates.h"
#include "engine/run/function_context.h"
#include "engine/run/function_library.h"
#include "engine/run/function_registry.h"
#include "engine/run/parser.h"
#include "platform/canvas/font_canvas.h"
#include "platform/date_time.h"
#include "platform/format_settings.h"
#include "platform/printing/printer_system.h"
#include "platform/ui_services.h"
#include "platform/value.h"

namespace zr {

class TvtReport;
class TvtPage;
class TvtView;
class TvtBand;
class TInterpretator;
class HttpClient;
class FontResolver;
class TvtRunHost;

enum class EngineMode { Design, Run };

// Prepared-report compression hook; the system's own instance compresses nothing.
class TvtCompressor {
 public:
  virtual ~TvtCompressor() = default;
  bool Enabled = false;
  virtual void Compress(const std::string& /*source*/, std::string& /*target*/) {}
  virtual void Decompress(const std::string& /*source*/, std::string& /*target*/) {}
};

class TvtGlobals {
 public:
  // `http` may be null: pictures with an address then stay empty.
  TvtGlobals(UiServices& ui, PrinterSystem& printers, const Clock& clock = Clock::system(),
             HttpClient* http = nullptr);
  ~TvtGlobals();
  TvtGlobals(const TvtGlobals&) = delete;
  TvtGlobals& operator=(const TvtGlobals&) = delete;

  static TvtGlobals& Get();
  static TvtGlobals* Find() { return current_; }

  // --- Services ---
  UiServices& ui;
  const Clock& clock;
  HttpClient* http;
  // The process-wide locale conventions; formatting changes the decimal separator for the
  // duration of one call.
  FormatSettings format_settings;
  std::shared_ptr<FontResolver> fonts;
  MeasuringCanvas measuring_canvas;
  TvtPrinter printer;

  // --- Engine objects, in start-up order ---
  TvtInstalledFunctions installed_functions;
  TvtParser GlobalParser;
  TvtVariables ScriptVariables;  // sorted
  TvtVariables ConstantList;     // sorted
  FunctionContext function_context;
  TvtFunctionRegistry functions;
  std::unique_ptr<TInterpretator> GlobalInterpreter;
  TvtAddInRegistry add_ins;
  TvtCrossViewHooks cross_views;
  TvtExportFilters export_filters;  // the formats offered for saving, in registration order
  TvtCompressor compressor;

  // --- Report-wide state ---
  EngineMode mode = EngineMode::Design;
  int32_t next_object_id = 0;
  // The factory notes add-in classes it could not create; the form reader reports them.
  bool missing_classes = false;
  std::string missing_classes_message;

  TvtReport* CurReport = nullptr;
  TvtReport* MasterReport = nullptr;
  TvtPage* CurPage = nullptr;
  TvtBand* CurBand = nullptr;
  TvtView* CurView = nullptr;
  // The band engine's answers while it runs (not owned); null outside a run.
  TvtRunHost* run_host = nullptr;
  int CurPageNo = 0;  // 0-based
  int TotalPages = 0;
  double ReportDate = 0, ReportTime = 0;
  bool Building = false;
  bool FirstPass = false;
  // The band-linking initialisation step: expressions are evaluated but not formatted.
  bool LinkingBands = false;
  TvtAggregateState aggregates;
  bool ErrorFlag = false;
  std::string ErrorMessage;
  std::string CurName;        // the name being resolved (guard against self-reference)
  std::string CurExpression;  // the expression last formatted for display
  Value CurValue = Value(int32_t{0});

  bool run_mode() const { return mode == EngineMode::Run; }
  // Compiles and runs a view's or page's script in the shared interpreter; errors propagate.
  void RunScript(const std::vector<std::string>& script);

 private:
  static TvtGlobals* current_;
};

}  // namespace zr
