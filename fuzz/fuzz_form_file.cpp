// Reads arbitrary bytes as a report form. Loading never raises: damage ends in a message.
// Whatever was loaded must save (unless it cannot be expressed in the format), and the saved
// form must load again without a message, with the same pages and objects.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "fuzz_engine.h"
#include "platform/errors.h"
#include "platform/ui_services.h"

namespace {

zr::HeadlessUi& ui() {
  return fuzzing::fuzz_ui();
}

void start_engine() {
  fuzzing::fuzz_engine();
}

bool same_shape(const zr::TvtReport& a, const zr::TvtReport& b) {
  if (a.Pages.Count() != b.Pages.Count()) return false;
  for (int i = 0; i < a.Pages.Count(); ++i)
    if (a.Pages.Items(i).Objects.size() != b.Pages.Items(i).Objects.size()) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  start_engine();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zr::TvtReport report;
  zr::ByteReader in(bytes, "<fuzz>");
  report.LoadFromStream(in);

  std::string saved;
  try {
    zr::ByteWriter out;
    report.SaveToStream(out);
    saved = out.take();
  } catch (const zr::ZorelError&) {
    return 0;  // texts too long for the current encoding, objects beyond page 256
  }
  ui().clear_calls();
  zr::TvtReport again;
  zr::ByteReader saved_in(std::string_view(saved), "<saved>");
  again.LoadFromStream(saved_in);
  if (!ui().calls().empty() || !same_shape(report, again)) std::abort();
  ui().clear_calls();
  return 0;
}
