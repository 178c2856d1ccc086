#pragma once
// Bases of dialog-page controls. No concrete control exists in this system; the classes keep
// their records (type code 10) and draw a simple stand-in: a button-face box for a visual
// control, a 28 x 28 raised tile for a non-visual component.

#include <cstdint>

#include "engine/model/variables.h"
#include "engine/model/view.h"

namespace zr {

class Bitmap;

class TvtControl : public TvtView {
 public:
  TvtControl();

  std::string ClassName() const override { return "TvtControl"; }

  // Also follows "VISIBLE" on the wrapped control.
  void SetProperty(const std::string& name, const Value& value) override;
  void RegisterProperties() override;
  // Renders the control into a (Width + 1) x (Height + 1) bitmap filled with the button face
  // and draws it at (Left, Top) after scaling.
  void Draw(Canvas& canvas) override;
  // Paints the control onto `canvas`, a bitmap canvas of the control's size at the origin.
  virtual void PaintControl(Canvas& canvas);
};

class TvtNonVisualControl : public TvtControl {
 public:
  TvtNonVisualControl();

  std::string ClassName() const override { return "TvtNonVisualControl"; }

  // "NAME" also renames the wrapped component.
  void SetProperty(const std::string& name, const Value& value) override;
  void RegisterProperties() override;
  // Always 28 x 28: button face, raised edge, the icon at DrawRect's corner + 2.
  void Draw(Canvas& canvas) override;
  // Here `canvas` is the view's own canvas: the icon goes at DrawRect's corner + 2.
  void PaintControl(Canvas& canvas) override;

  TvtVariables Variables;  // the component's own list
};

}  // namespace zr
