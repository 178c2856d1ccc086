#pragma once
// A started report engine for one zrtool command. Messages the engine would show are
// recorded, not shown, so a command can turn them into its error; only the virtual printer
// exists (unless a form names another, see use_printer), so a form builds, and a prepared page
// draws, the same on every machine.

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "objects/add_in_objects.h"
#include "objects/chart_view.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"

namespace zr::tool {

class ToolEngine {
 public:
  ToolEngine() = default;
  ToolEngine(const ToolEngine&) = delete;
  ToolEngine& operator=(const ToolEngine&) = delete;

  TvtGlobals& globals() { return globals_; }

  // Installs a printer named `name` that offers every standard paper (without margins, 600
  // dpi) and selects it, so that a form written now names it. Nothing for the virtual
  // printer's name.
  void use_printer(const std::string& name);

  // Reads a form file's bytes into `report`. Raises FormatError "SOURCE is not a report form
  // (REASON)" when the form does not load (the engine reports that as a message, not an
  // error), and with the engine's own message for any other message it shows.
  void load_form(TvtReport& report, std::string_view bytes, const std::string& source);
  // Reads a prepared-report file into report.EMFPages. IoError when it cannot be read,
  // FormatError "PATH is not a prepared report (REASON)" when it is damaged, FormatError with
  // the engine's message when the engine reports a failure.
  void load_prepared(TvtReport& report, const std::filesystem::path& path);

 private:
  // Raises FormatError with the first message shown since `first_call`.
  void fail_on_messages(size_t first_call, const std::string& source) const;

  HeadlessUi ui_{nullptr};
  MemoryPrinterSystem printers_;
  TvtGlobals globals_{ui_, printers_};
  TvtAddInObjects add_ins_;  // forms with barcodes, shapes ... load and build
  TvtChartClass charts_;
};

// The whole file; IoError when it cannot be read.
std::string read_file(const std::filesystem::path& path);
// Replaces the file; IoError when it cannot be written.
void write_file(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zr::tool
