// Reads arbitrary bytes as a prepared-report file. Malformed input ends in ZorelError, never
// in a crash, a hang or unbounded memory. What was read must save, and the saved file must
// read back and save to the same bytes. Every page is then materialised, drawn, hit-tested,
// exported and written back from its objects.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/model/prepared_pages.h"
#include "engine/report/tvt_globals.h"
#include "fuzz_engine.h"
#include "platform/errors.h"

namespace {

zr::TvtGlobals& engine() {
  return fuzzing::fuzz_engine();
}

std::string save(zr::TvtEMFPages& pages) {
  zr::ByteWriter out;
  pages.SaveToStream(out);
  return out.take();
}

void exercise_page(zr::TvtEMFPages& pages, int index) {
  zr::TvtGlobals& g = engine();
  int cursor = 0;
  try {
    pages.PageInfo(index).Visible = true;
    pages.Draw(index, g.measuring_canvas, {0, 0, 800, 1100});
    pages.HitTestObject(index, {40, 40}, true, cursor);
    pages.ExportPage(index);
    pages.PageToObjects(index);
  } catch (const zr::ZorelError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  engine();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zr::TvtEMFPages pages;
  try {
    zr::ByteReader in(bytes, "<fuzz>");
    pages.LoadFromStream(in);
  } catch (const zr::ZorelError&) {
    return 0;
  }
  const std::string once = save(pages);
  zr::TvtEMFPages again;
  zr::ByteReader saved(std::string_view(once), "<saved>");
  again.LoadFromStream(saved);
  if (save(again) != once) std::abort();
  for (int i = 0; i < pages.Count(); ++i) exercise_page(pages, i);
  return 0;
}
