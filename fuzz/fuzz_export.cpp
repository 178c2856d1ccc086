// Reads arbitrary bytes as prepared pages and exports them through every built format with
// frames on. Whatever the pages hold, an export ends in a file or a ZorelError, never in a
// crash, a hang or unbounded memory.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "fuzz_engine.h"
#include "output/pdf/pdf_export.h"
#include "output/text/csv_export.h"
#include "output/text/text_export.h"
#include "platform/errors.h"

namespace {

zr::TvtGlobals& engine() {
  return fuzzing::fuzz_engine();
}

std::vector<std::unique_ptr<zr::TvtExportFilter>> formats() {
  std::vector<std::unique_ptr<zr::TvtExportFilter>> all;
  auto text = std::make_unique<zr::TvtTextExport>();
  text->ExportFrames = true;
  text->UsePseudographic = true;
  text->ConvertToOEM = true;
  text->KillEmptyLines = false;
  all.push_back(std::move(text));
  all.push_back(std::make_unique<zr::TvtCSVExport>());
  all.push_back(std::make_unique<zr::TOxvtPDFExport>());
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  engine();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zr::TvtReport report;
  report.ShowProgress = false;
  try {
    zr::ByteReader in(bytes, "<fuzz>");
    report.EMFPages.LoadFromStream(in);
  } catch (const zr::ZorelError&) {
    return 0;
  }
  for (auto& format : formats()) {
    format->ShowDialog = false;
    try {
      report.ExportReportTo(*format, "/dev/null");
    } catch (const zr::ZorelError&) {
    }
  }
  return 0;
}
