#include "engine/model/control_view.h"

#include "engine/report/tvt_globals.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/codepage.h"
#include "platform/graphics/bitmap.h"

namespace zr {

namespace {

constexpr int32_t kNonVisualSize = 28;

const Color kButtonFace = Color::system(kSysColorButtonFace);

// A raised edge: light top and left, dark bottom and right, inside `r`.
void raised_edge(Canvas& canvas, const Rect& r) {
  CanvasStateSaver saver(canvas);
  canvas.set_pen(Pen{kWhite, 1, PenStyle::Solid});
  canvas.line({r.left, r.bottom - 1}, {r.left, r.top});
  canvas.line({r.left, r.top}, {r.right, r.top});
  canvas.set_pen(Pen{Color::rgb(128, 128, 128), 1, PenStyle::Solid});
  canvas.line({r.right - 1, r.top + 1}, {r.right - 1, r.bottom - 1});
  canvas.line({r.left, r.bottom - 1}, {r.right, r.bottom - 1});
}

}  // namespace

TvtControl::TvtControl() {
  ObjectType = kObjAddIn;
  FillColor = kClBtnFace;
  FrameTyp = 0;
}

void TvtControl::RegisterProperties() {
  PropRec.clear();
  for (const char* name : {"Name", "Left", "Top", "Width", "Height", "Visible", "Restrictions"})
    AddProperty(name);
}

void TvtControl::SetProperty(const std::string& name, const Value& value) {
  // There is no platform control to show or hide: Visible is all "VISIBLE" changes.
  TvtView::SetProperty(name, value);
}

void TvtControl::PaintControl(Canvas& canvas) {
  const Rect device = canvas.device_bounds();
  raised_edge(canvas, device);
}

void TvtControl::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  ScaledGeometry scaled(*this);
  if (Width < 0 || Height < 0 || !Bitmap::size_allowed(int64_t{Width} + 1, int64_t{Height} + 1))
    return;
  Bitmap image(Width + 1, Height + 1, argb_from_color(*kButtonFace.resolved()));
  {
    auto painter = CairoCanvas::for_bitmap(image, TvtGlobals::Get().fonts);
    PaintControl(*painter);
    painter->flush();
  }
  canvas.stretch_draw({Left, Top, SaturateInt32(int64_t{Left} + Width + 1),
                       SaturateInt32(int64_t{Top} + Height + 1)},
                      image);
}

TvtNonVisualControl::TvtNonVisualControl() {
  Width = kNonVisualSize;
  Height = kNonVisualSize;
}

void TvtNonVisualControl::RegisterProperties() {
  PropRec.clear();
  AddProperty("Name");
  AddProperty("Restrictions");
}

void TvtNonVisualControl::SetProperty(const std::string& name, const Value& value) {
  // "NAME" would also rename the wrapped component; there is none to rename.
  TvtControl::SetProperty(name, value);
}

void TvtNonVisualControl::PaintControl(Canvas& canvas) {
  // The component's icon: a plain tile.
  canvas.set_brush(Brush::solid(Color::rgb(128, 128, 128)));
  canvas.set_pen(Pen{kBlack, 1, PenStyle::Solid});
  canvas.rectangle(Rect::from_size(DrawRect.left + 2, DrawRect.top + 2, 24, 24));
}

void TvtNonVisualControl::Draw(Canvas& canvas) {
  Width = kNonVisualSize;
  Height = kNonVisualSize;
  ApplyBandAlign(&canvas);
  ScaledGeometry scaled(*this);
  CanvasStateSaver saver(canvas);
  canvas.set_brush(Brush::solid(kButtonFace));
  canvas.fill_rect(DrawRect);
  raised_edge(canvas, DrawRect);
  PaintControl(canvas);
}

}  // namespace zr
