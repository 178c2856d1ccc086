#pragma once
// A started report engine for tests: headless messages (recorded, not printed), no real
// printers (the virtual printer only), a fixed clock (2026-12-10 12:00).

#include <gtest/gtest.h>

#include "engine/report/tvt_globals.h"
#include "platform/date_time.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"

namespace testing_support {

struct EngineEnvironment {
  zr::HeadlessUi ui{nullptr};
  zr::MemoryPrinterSystem printers;
  zr::FixedClock clock{46366.5};
  zr::TvtGlobals globals{ui, printers, clock};
};

class EngineTest : public ::testing::Test {
 protected:
  EngineEnvironment env;
  zr::TvtGlobals& globals() { return env.globals; }
};

}  // namespace testing_support
