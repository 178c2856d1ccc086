#pragma once
// The engine state a fuzz target runs in: headless messages, the virtual printer only. Made on
// first use and kept for the whole process, as a host keeps it.

#include "engine/report/tvt_globals.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"

namespace fuzzing {

inline zr::HeadlessUi& fuzz_ui() {
  static zr::HeadlessUi headless(nullptr);
  return headless;
}

inline zr::TvtGlobals& fuzz_engine() {
  static zr::MemoryPrinterSystem printers;
  static zr::TvtGlobals globals(fuzz_ui(), printers);
  return globals;
}

}  // namespace fuzzing
