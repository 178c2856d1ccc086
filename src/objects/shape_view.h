#pragma once
// TvtShapeView: a geometric figure (rectangle, rounded rectangle, ellipse, triangle or one of
// the two diagonals) drawn over the view's frame with its frame pen and fill colour.

#include <cstdint>
#include <string>

#include "engine/model/view.h"

namespace zr {

enum TvtShapeKind : uint8_t {
  skRectangle = 0,
  skRoundRectangle,
  skEllipse,
  skTriangle,
  skDiagonal1,  // bottom-left to top-right
  skDiagonal2,  // top-left to bottom-right
};

class TvtShapeView : public TvtView {
 public:
  inline static const std::string kClassName = "TvtShapeView";

  // Also sets the constants "skRectangle" ... "skDiagonal2" of the running engine.
  TvtShapeView();
  std::string ClassName() const override { return kClassName; }

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  void RegisterProperties() override;
  void Draw(Canvas& canvas) override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  uint8_t ShapeKind = skRectangle;
};

}  // namespace zr
