#pragma once
// TvtLineView: a horizontal or vertical line, drawn as one frame side of its rectangle.

#include <cstdint>

#include "engine/model/view.h"

namespace zr {

class TvtLineView : public TvtStretcheable {
 public:
  TvtLineView();

  std::string ClassName() const override { return "TvtLineView"; }

  void RegisterProperties() override;
  // Turns the line horizontal when Height < Width (Height 0, FrameTyp top), vertical
  // otherwise (Width 0, FrameTyp left), then draws the frame.
  void Draw(Canvas& canvas) override;
  // Widened across the line's direction only.
  Region GetClipRegion(bool enlarged) override;

  int32_t CalcHeight() override { return Height; }
  int32_t MinimalHeight() override { return 1; }
  int32_t LeftoverHeight() override { return 0; }
};

}  // namespace zr
