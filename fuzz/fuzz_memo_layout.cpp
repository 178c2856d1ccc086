// Lays out and draws a memo read from arbitrary bytes: the first byte picks the scale and
// whether the record is read in prepared form, the rest is the memo's record. Whatever the
// sizes, spacings and texts, wrapping, measuring, splitting, drawing and exporting end
// without a crash, a hang or unbounded memory.
#include <cstdint>
#include <string_view>

#include "engine/model/export_filter.h"
#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "fuzz_engine.h"
#include "platform/errors.h"

namespace {

zr::TvtGlobals& engine() {
  return fuzzing::fuzz_engine();
}

// Counts what a filter would get, so that the lines are really handed over.
class CountingFilter : public zr::TvtExportFilter {
 public:
  void OnText(const zr::Rect&, int, int, const std::string& text, int, int, zr::TvtView&) override {
    bytes += text.size();
  }
  size_t bytes = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  zr::TvtGlobals& g = engine();
  const uint8_t mode = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  zr::TvtReport report;
  CountingFilter filter;
  report.ExportFilter = &filter;
  g.CurReport = &report;
  g.mode = zr::EngineMode::Run;
  zr::TvtMemoView memo;
  try {
    zr::ByteReader in(bytes, "<fuzz>");
    memo.PreparedMode = (mode & 1) != 0;
    memo.LoadFromStream(in);
    memo.PreparedMode = false;

    static constexpr double kScales[] = {1.0, 1.5, 0.25, 7.0};
    memo.ScaleX = memo.ScaleY = kScales[(mode >> 1) & 3];
    memo.MinimalHeight();
    memo.LeftoverHeight();
    memo.Draw(g.measuring_canvas);
    memo.ExportTo();
    // A split as the band engine asks for it: the part that fits, then the rest.
    memo.ScaleX = memo.ScaleY = 1.0;
    memo.ExpandedMemo = memo.Memo;
    memo.DrawMode = 2;
    zr::ByteWriter page;
    memo.WriteToPreparedPage(page);
  } catch (const zr::ZorelError&) {
  }
  g.CurReport = nullptr;
  g.CurView = nullptr;
  return 0;
}
