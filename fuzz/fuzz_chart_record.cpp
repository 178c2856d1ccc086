// A chart view's record, as forms (first byte even) and prepared pages (first byte odd) hold
// it, read from arbitrary bytes and, when it reads, drawn. Errors are ZorelError only; the
// drawing stays on the canvas calls.
#include <cstdint>
#include <string>

#include "fuzz_engine.h"
#include "objects/chart_view.h"
#include "platform/byte_stream.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  zr::TvtGlobals& engine = fuzzing::fuzz_engine();
  zr::TvtChartView chart;
  chart.PreparedMode = (data[0] & 1) != 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    zr::ByteReader in(bytes, "chart", 24);
    chart.LoadFromStream(in);
  } catch (const zr::ZorelError&) {
    return 0;
  }
  chart.PreparedMode = false;
  // A drawing the size of a page: the record's own bounds may be anything.
  chart.SetBounds(0, 0, 700, 500);
  zr::TraceCanvas canvas(engine.fonts, {0, 0, 800, 600});
  chart.Draw(canvas);
  return 0;
}
