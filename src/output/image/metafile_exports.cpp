#include "output/image/metafile_exports.h"

#include <ostream>

#include "engine/locale/locale_strings.h"
#include "engine/model/prepared_pages.h"
#include "engine/report/tvt_globals.h"
#include "output/document/document_records.h"
#include "platform/canvas/brush.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_recorder.h"
#include "platform/metafile/wmf_writer.h"

namespace zr {

namespace {

void write_bytes(std::ostream& out, const std::string& bytes) {
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The page's white paper under the drawing: both formats are opaque pictures, and a page
// without objects would otherwise be a metafile without extent, which readers refuse.
void paint_paper(MetafileRecorder& recorder, int width, int height) {
  recorder.set_brush(Brush::solid(Color(0xFFFFFF)));
  recorder.fill_rect(Rect{0, 0, width + 1, height + 1});
}

// Records at the display resolution, so a design pixel stays one metafile unit.
const Resolution kPageResolution{ScreenPPI, ScreenPPI};

}  // namespace

TOxvtEMFExport::TOxvtEMFExport() : TOxvtGraphicExport(LoadStr(kStrEmfExtension)) {
  RegisterFilter(LoadStr(kStrEmfDescription), "*." + LoadStr(kStrEmfExtension));
}

void TOxvtEMFExport::WritePage(TvtEMFPages& pages, int index, int width, int height,
                               std::ostream& out) {
  MetafileRecorder recorder(Rect{0, 0, width, height}, kPageResolution, TvtGlobals::Get().fonts);
  paint_paper(recorder, width, height);
  pages.Draw(index, recorder, Rect{0, 0, width, height});
  write_bytes(out, write_emf(recorder.finish()));
}

TOxvtWMFExport::TOxvtWMFExport() : TOxvtGraphicExport(LoadStr(kStrWmfExtension)) {
  RegisterFilter(LoadStr(kStrWmfDescription), "*." + LoadStr(kStrWmfExtension));
}

void TOxvtWMFExport::WritePage(TvtEMFPages& pages, int index, int width, int height,
                               std::ostream& out) {
  MetafileRecorder recorder(Rect{0, 0, width, height}, kPageResolution, TvtGlobals::Get().fonts);
  paint_paper(recorder, width, height);
  pages.Draw(index, recorder, Rect{0, 0, width, height});
  write_bytes(out, write_wmf(recorder.finish()));
}

}  // namespace zr
