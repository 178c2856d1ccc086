#include "engine/model/subreport_view.h"

#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/rounding.h"

namespace zr {

TvtSubReportView::TvtSubReportView() {
  NamePrefix = "SubReport";
  ObjectType = kObjSubReport;
}

void TvtSubReportView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  SubPage = stream.read_i32();
}

void TvtSubReportView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_i32(SubPage);
}

void TvtSubReportView::Draw(Canvas& canvas) {
  if (TvtGlobals::Get().run_mode()) return;
  ApplyBandAlign(&canvas);
  ScaledGeometry scaled(*this);
  CanvasStateSaver saver(canvas);
  canvas.set_brush(Brush::solid(kWhite));
  canvas.set_pen(Pen{kBlack, 1, PenStyle::Solid});
  canvas.rectangle(DrawRect);
  FontSelection font;
  font.name = "Arial";
  font.height = -round_half_even_to_int(8.0 * canvas.resolution().y / 72);
  canvas.set_font(font);
  canvas.set_text_color(kBlack);
  canvas.set_bk_mode(BkMode::Transparent);
  canvas.text_out({DrawRect.left + 2, DrawRect.top + 2}, Name);
}

}  // namespace zr
