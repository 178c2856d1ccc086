// Grid descriptions (MetaString) from the host: parsed, and expanded into a form page. Only
// conversion and list-index errors may come out; nothing may crash.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/model/page.h"
#include "engine/report/report.h"
#include "fuzz_engine.h"
#include "objects/add_in_objects.h"
#include "objects/grid_meta.h"
#include "objects/grid_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const zr::GridMetaRecord& record : zr::ParseGridMeta(text)) {
    (void)record.Kind();
    (void)record.Text("MEMO");
  }
  zr::TvtGlobals& globals = fuzzing::fuzz_engine();
  zr::TvtAddInObjects add_ins;
  zr::TvtReport report;
  globals.CurReport = &report;
  zr::TvtPage& page = report.Pages.Add();
  page.LeftMargin = 20;
  page.RightMargin = 20;
  auto grid = std::make_unique<zr::TGridView>();
  grid->Name = "G";
  grid->MetaString = text;
  auto* view = static_cast<zr::TGridView*>(page.Add(std::move(grid)));
  try {
    view->ExpandGrid(report);
  } catch (const zr::ZorelError&) {
  }
  globals.CurReport = nullptr;
  return 0;
}
