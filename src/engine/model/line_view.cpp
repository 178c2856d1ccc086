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
  int64_t left = Left, top = Top;
  int64_t right = left + Width + 1, bottom = top + Height + 1;
  if (Height < Width) {
    top -= before;
    bottom += after;
  } else {
    left -= before;
    right += after;
  }
  const int64_t grow = enlarged ? 10 : 0;
  return Region({SaturateInt32(left - grow), SaturateInt32(top - grow), SaturateInt32(right + grow),
                 SaturateInt32(bottom + grow)});
}

}  // namespace zr
