#include "engine/model/line_view.h"

#include "platform/rounding.h"

namespace zr {

TvtLineView::TvtLineView() {
  NamePrefix = "Line";
  ObjectType = kObjLine;
  FrameTyp = kFrameLeft;
  FillColor = 0xFFFFFF;
}

void TvtLineView::RegisterProperties() {
  TvtView::RegisterProperties();
  AddProperty("Stretched");
}

void TvtLineView::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  if (Height < Width) {
    Height = 0;
    FrameTyp = kFrameTop;
  } else {
    Width = 0;
    FrameTyp = kFrameLeft;
  }
  ScaledGeometry scaled(*this);
  DrawFrame();
}

Region TvtLineView::GetClipRegion(bool enlarged) {
  const double fw = FrameWidth;
  const int32_t before = round_half_even_to_int(fw / 2);
  const int32_t after = round_half_even_to_int((fw - 1) / 2);
  Rect r{Left, Top, Left + Width + 1, Top + Height + 1};
  if (Height < Width) {
    r.top -= before;
    r.bottom += after;
  } else {
    r.left -= before;
    r.right += after;
  }
  if (enlarged) r = {r.left - 10, r.top - 10, r.right + 10, r.bottom + 10};
  return Region(r);
}

}  // namespace zr
