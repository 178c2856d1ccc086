#include "objects/shape_view.h"

#include "engine/model/frame_pen_style.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/rounding.h"

namespace zr {
namespace {

constexpr const char* kShapeNames =
    "skRectangle;skRoundRectangle;skEllipse;skTriangle;skDiagonal1;skDiagonal2";

}  // namespace

TvtShapeView::TvtShapeView() {
  NamePrefix = "Shape";
  if (TvtGlobals* g = TvtGlobals::Find()) {
    const char* names[] = {"skRectangle", "skRoundRectangle", "skEllipse",
                           "skTriangle",  "skDiagonal1",      "skDiagonal2"};
    for (int32_t i = 0; i < 6; ++i) g->ConstantList.SetVariable(names[i], Value(i));
  }
}

void TvtShapeView::RegisterProperties() {
  TvtView::RegisterProperties();
  AddProperty("Shape", kShapeNames, {0, 1, 2, 3, 4, 5});
}

Value TvtShapeView::GetProperty(const std::string& name) {
  Value value = TvtView::GetProperty(name);
  if (value.is_null() && upper_ascii(name) == "SHAPE") return Value(int32_t{ShapeKind});
  return value;
}

void TvtShapeView::SetProperty(const std::string& name, const Value& value) {
  TvtView::SetProperty(name, value);
  if (upper_ascii(name) == "SHAPE") ShapeKind = static_cast<uint8_t>(value.to_int());
}

void TvtShapeView::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  ExpandedMemo = Memo;
  ScaledGeometry scaled(*this);
  {
    // The figure is the fill: the view's own background stays clear under it.
    const int32_t fill = FillColor;
    FillColor = kClNone;
    try {
      DrawBackground();
      DrawFrame();
    } catch (...) {
      FillColor = fill;
      throw;
    }
    FillColor = fill;
  }
  if (TvtGlobals::Get().FirstPass) return;
  CanvasStateSaver saver(canvas);
  canvas.set_pen(Pen{Color(static_cast<uint32_t>(FrameColor)), round_half_even_to_int(FrameWidth),
                     FramePenStyle(FrameStyle)});
  canvas.set_bk_mode(BkMode::Opaque);
  canvas.set_brush(FillColor == kClNone ? Brush::clear()
                                        : Brush::solid(Color(static_cast<uint32_t>(FillColor))));
  const int32_t l = Left, t = Top, r = ScaledRight(), b = ScaledBottom();
  const Rect box{l, t, SaturateInt32(int64_t{r} + 1), SaturateInt32(int64_t{b} + 1)};
  switch (ShapeKind) {
    case skRectangle:
      canvas.rectangle(box);
      break;
    case skRoundRectangle: {
      const int corner = std::min(Width, Height) / 4;
      canvas.round_rect(box, corner, corner);
      break;
    }
    case skEllipse:
      canvas.ellipse(box);
      break;
    case skTriangle: {
      // Filled as the polygon it is: a flood fill bounded by the no-fill colour would run
      // over the whole page around the triangle.
      const Point points[] = {{r, b}, {l, b}, {l + (r - l) / 2, t}};
      canvas.polygon(points);
      break;
    }
    case skDiagonal1:
      canvas.line({l, b}, {r, t});
      break;
    case skDiagonal2:
      canvas.line({l, t}, {r, b});
      break;
    default:
      break;
  }
}

void TvtShapeView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  ShapeKind = stream.read_u8();
}

void TvtShapeView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_u8(ShapeKind);
}

}  // namespace zr
