#pragma once
// TvtRoundRectView: a memo drawn as a rounded (or square) box with a drop shadow, or filled
// with a colour gradient. ShadowWidth -99 switches to gradient mode, where ShadowColor is the
// gradient's begin colour, FillColor its end colour and RoundSize its style.

#include <cstdint>
#include <string>

#include "engine/model/memo_view.h"

namespace zr {

inline constexpr int32_t kGradientMode = -99;

enum TvtGradientStyle : int32_t {
  gsHorizontal = 0,
  gsVertical = 1,
  gsElliptic = 2,
  gsRectangle = 3,
  gsVertCenter = 4,
  gsHorizCenter = 5,
};

class TvtRoundRectView : public TvtMemoView {
 public:
  inline static const std::string kClassName = "TvtRoundRectView";

  // Also sets the constants "gsHorizontal" ... "gsHorizCenter" of the running engine.
  TvtRoundRectView();
  std::string ClassName() const override { return kClassName; }

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  void RegisterProperties() override;
  // Keeps the text clear of the shadow and of the corners.
  void ApplyScale() override;
  void RestoreGeometry() override;
  void DrawBackground() override;
  void DrawFrame() override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  bool Gradient() const { return ShadowWidth == kGradientMode; }

  int32_t ShadowColor = 0x808080;
  int32_t ShadowWidth = 6;
  uint8_t FullFrame = 1;
  bool RoundRect = true;
  int32_t RoundSize = 10;

 private:
  void DrawShadowed();
  void DrawGradient();
  int32_t kept_gap_x_ = 0, kept_gap_y_ = 0;
};

// Windows' MulDiv: a x b / c with a 64-bit product, rounded half away from zero; -1 when c
// is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

}  // namespace zr
