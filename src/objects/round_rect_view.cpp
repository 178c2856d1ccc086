#include "objects/round_rect_view.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/rounding.h"

namespace zr {
namespace {

constexpr int32_t kShadowAfterGradient = 10;

struct Rgb {
  int32_t r, g, b;
};

Rgb rgb_of(int32_t color) {
  const uint32_t v = Color(static_cast<uint32_t>(color)).resolved().value_or(0xFFFFFF);
  return {static_cast<int32_t>(v & 0xFF), static_cast<int32_t>((v >> 8) & 0xFF),
          static_cast<int32_t>((v >> 16) & 0xFF)};
}

// The colour `step` of `n` from `end` towards `begin`.
Color blend(const Rgb& end, const Rgb& begin, int32_t step, int32_t n) {
  if (n == 0) return Color::rgb(end.r, end.g, end.b);
  auto c = [&](int32_t e, int32_t b) { return static_cast<uint8_t>(e + MulDiv(step, b - e, n)); };
  return Color::rgb(c(end.r, begin.r), c(end.g, begin.g), c(end.b, begin.b));
}

// The steps i of 0 ... last whose line at origin + i lies in [from, to).
std::vector<int64_t> visible_steps(int32_t last, int64_t origin, int64_t from, int64_t to) {
  std::vector<int64_t> steps;
  const int64_t first = std::max<int64_t>(0, from - origin);
  const int64_t stop = std::min<int64_t>(last, to - 1 - origin);
  for (int64_t i = first; i <= stop; ++i) steps.push_back(i);
  return steps;
}

}  // namespace

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = int64_t{a} * b;
  const int64_t half = std::llabs(c) / 2;
  const int64_t q =
      ((p < 0) != (c < 0)) ? (p - (p < 0 ? half : -half)) / c : (p + (p < 0 ? -half : half)) / c;
  return SaturateInt32(q);
}

TvtRoundRectView::TvtRoundRectView() {
  NamePrefix = "RoundRect";
  FrameTyp = 255;
  if (TvtGlobals* g = TvtGlobals::Find()) {
    const char* names[] = {"gsHorizontal", "gsVertical",   "gsElliptic",
                           "gsRectangle",  "gsVertCenter", "gsHorizCenter"};
    for (int32_t i = 0; i < 6; ++i) g->ConstantList.SetVariable(names[i], Value(i));
  }
}

void TvtRoundRectView::RegisterProperties() {
  TvtMemoView::RegisterProperties();
  for (const char* name : {"ShadowColor", "ShadowWidth", "RoundRect", "RoundSize", "Gradient"})
    AddProperty(name);
  AddProperty("Style", "gsVertical;gsHorizontal;gsElliptic;gsRectangle;gsHorizCenter;gsVertCenter",
              {1, 0, 2, 3, 5, 4});
  AddProperty("BeginColor");
  AddProperty("EndColor");
}

void TvtRoundRectView::SetProperty(const std::string& name, const Value& value) {
  TvtMemoView::SetProperty(name, value);
  const std::string n = upper_ascii(name);
  if (n == "SHADOWCOLOR" || n == "BEGINCOLOR") {
    ShadowColor = value.to_int();
  } else if (n == "SHADOWWIDTH") {
    ShadowWidth = value.to_int();
  } else if (n == "ROUNDRECT") {
    RoundRect = value.to_bool();
  } else if (n == "ROUNDSIZE" || n == "STYLE") {
    RoundSize = value.to_int();
  } else if (n == "GRADIENT") {
    if (value.to_bool()) {
      ShadowWidth = kGradientMode;
      RoundSize = 0;
    } else {
      ShadowWidth = kShadowAfterGradient;
    }
  } else if (n == "ENDCOLOR") {
    FillColor = value.to_int();
  }
}

Value TvtRoundRectView::GetProperty(const std::string& name) {
  Value own = TvtMemoView::GetProperty(name);
  if (!own.is_null()) return own;
  const std::string n = upper_ascii(name);
  if (n == "SHADOWCOLOR" || n == "BEGINCOLOR") return Value(ShadowColor);
  if (n == "SHADOWWIDTH") return Value(ShadowWidth);
  if (n == "ROUNDRECT") return Value(RoundRect);
  if (n == "ROUNDSIZE") return Value(RoundSize);
  if (n == "GRADIENT") return Value(Gradient());
  if (n == "STYLE") return Value(Gradient() ? RoundSize : int32_t{0});
  if (n == "ENDCOLOR") return Value(FillColor);
  return own;
}

void TvtRoundRectView::ApplyScale() {
  kept_gap_x_ = GapX;
  kept_gap_y_ = GapY;
  TvtMemoView::ApplyScale();
  if (!Gradient()) {
    DrawRect.right = SaturateInt32(int64_t{DrawRect.right} - ShadowWidth);
    DrawRect.bottom = SaturateInt32(int64_t{DrawRect.bottom} - ShadowWidth);
  }
  GapX = SaturateInt32(int64_t{GapX} + RoundSize / 4);
  GapY = SaturateInt32(int64_t{GapY} + RoundSize / 4);
}

void TvtRoundRectView::RestoreGeometry() {
  TvtMemoView::RestoreGeometry();
  GapX = kept_gap_x_;
  GapY = kept_gap_y_;
}

void TvtRoundRectView::DrawBackground() {
  if (TvtGlobals::Get().run_mode() || Gradient() || !DrawCanvas) return;
  DrawCanvas->set_brush(Brush::solid(kWhite));
  DrawCanvas->fill_rect({Left, Top, SaturateInt32(int64_t{Left} + Width + 1),
                         SaturateInt32(int64_t{Top} + Height + 1)});
}

void TvtRoundRectView::DrawFrame() {
  if (TvtGlobals::Get().FirstPass || !DrawCanvas) return;
  CanvasStateSaver saver(*DrawCanvas);
  if (Gradient())
    DrawGradient();
  else
    DrawShadowed();
}

void TvtRoundRectView::DrawShadowed() {
  Canvas& canvas = *DrawCanvas;
  const double kx = EffectiveScale().kx;
  const int32_t s = round_half_even_to_int(ShadowWidth * kx);
  const int32_t c = round_half_even_to_int(RoundSize * kx);
  const int pen_width = round_half_even_to_int(FrameWidth);
  auto box = [&](const Rect& r) {
    if (RoundRect)
      canvas.round_rect(r, c, c);
    else
      canvas.rectangle(r);
  };
  auto at = [](int32_t v, int64_t by) { return SaturateInt32(int64_t{v} + by); };
  const Color shadow(static_cast<uint32_t>(ShadowColor));
  canvas.set_pen(Pen{shadow, pen_width, PenStyle::Solid});
  canvas.set_brush(Brush::solid(shadow));
  box({at(Left, s), at(Top, s), at(Left, int64_t{Width} + 1), at(Top, int64_t{Height} + 1)});
  FullFrame = (FrameTyp & kFrameAll) == kFrameAll ? 1 : 0;
  // A body without fill would let its own shadow show through: it is painted white.
  const Color fill = FillColor == kClNone ? kWhite : Color(static_cast<uint32_t>(FillColor));
  canvas.set_brush(Brush::solid(fill));
  canvas.set_pen(
      Pen{FullFrame ? Color(static_cast<uint32_t>(FrameColor)) : fill, pen_width, PenStyle::Solid});
  box({Left, Top, at(Left, int64_t{Width} - s + 1), at(Top, int64_t{Height} - s + 1)});
}

void TvtRoundRectView::DrawGradient() {
  Canvas& canvas = *DrawCanvas;
  const int32_t style = RoundSize < 0 ? 0 : RoundSize;
  const Rgb end = rgb_of(FillColor), begin = rgb_of(ShadowColor);
  const int64_t l = Left, t = Top;
  const int32_t w = Width, h = Height;
  auto fill = [&](Color color, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    canvas.set_brush(Brush::solid(color));
    canvas.fill_rect({SaturateInt32(x0), SaturateInt32(y0), SaturateInt32(x1), SaturateInt32(y1)});
  };
  auto line = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    canvas.line({SaturateInt32(x0), SaturateInt32(y0)}, {SaturateInt32(x1), SaturateInt32(y1)});
  };
  switch (style) {
    case gsHorizontal:
      for (int32_t i = 0; i < 256; ++i)
        fill(blend(end, begin, i, 255), l + MulDiv(i, w, 256), t, l + MulDiv(i + 1, w, 256), t + h);
      break;
    case gsVertical:
      for (int32_t i = 0; i < 256; ++i)
        fill(blend(end, begin, i, 255), l, t + MulDiv(i, h, 256), l + w, t + MulDiv(i + 1, h, 256));
      break;
    case gsElliptic: {
      CanvasStateSaver clip(canvas);
      canvas.intersect_clip_rect(
          {SaturateInt32(l), SaturateInt32(t), SaturateInt32(l + w), SaturateInt32(t + h)});
      canvas.set_pen(Pen{kBlack, 1, PenStyle::Clear});
      double x0 = l - w / 4.0, y0 = t - h / 4.0, x1 = l + w + w / 4.0, y1 = t + h + h / 4.0;
      const double dx = (w / 4.0 + w / 2.0) / 155, dy = (h / 4.0 + h / 2.0) / 155;
      for (int32_t i = 0; i <= 155; ++i) {
        x0 += dx, y0 += dy, x1 -= dx, y1 -= dy;
        canvas.set_brush(Brush::solid(blend(end, begin, i, 155)));
        canvas.ellipse({static_cast<int32_t>(x0), static_cast<int32_t>(y0),
                        static_cast<int32_t>(x1), static_cast<int32_t>(y1)});
      }
      break;
    }
    case gsRectangle: {
      canvas.set_pen(Pen{kBlack, 1, PenStyle::Clear});
      double x0 = l, y0 = t, x1 = l + w, y1 = t + h;
      const double dx = w / 2.0 / 255, dy = h / 2.0 / 255;
      for (int32_t i = 0; i <= 255; ++i) {
        x0 += dx, y0 += dy, x1 -= dx, y1 -= dy;
        canvas.set_brush(Brush::solid(blend(end, begin, i, 255)));
        canvas.rectangle({static_cast<int32_t>(x0), static_cast<int32_t>(y0),
                          static_cast<int32_t>(x1), static_cast<int32_t>(y1)});
      }
      break;
    }
    case gsVertCenter: {
      const int32_t half = h / 2;
      const Rect clip = canvas.clip_box();
      // Only the rows the canvas shows: a box of any height takes the same time.
      for (int64_t i : visible_steps(half, t, clip.top, clip.bottom)) {
        const Color color = blend(end, begin, static_cast<int32_t>(i), half);
        fill(color, l, t + i, l + w, t + i + 1);
      }
      for (int64_t i :
           visible_steps(half, -(t + h), -int64_t{clip.bottom} + 1, -int64_t{clip.top} + 1)) {
        const Color color = blend(end, begin, static_cast<int32_t>(i), half);
        fill(color, l, t + h - i, l + w, t + h - i + 1);
      }
      break;
    }
    case gsHorizCenter: {
      const int32_t half = w / 2;
      const Rect clip = canvas.clip_box();
      for (int64_t i : visible_steps(half, l, clip.left, clip.right)) {
        const Color color = blend(end, begin, static_cast<int32_t>(i), half);
        fill(color, l + i, t, l + i + 1, t + h);
      }
      for (int64_t i :
           visible_steps(half, -(l + w), -int64_t{clip.right} + 1, -int64_t{clip.left} + 1)) {
        const Color color = blend(end, begin, static_cast<int32_t>(i), half);
        fill(color, l + w - i, t, l + w - i + 1, t + h);
      }
      break;
    }
    default:
      break;
  }
  canvas.set_pen(Pen{Color(static_cast<uint32_t>(FrameColor)), round_half_even_to_int(FrameWidth),
                     PenStyle::Solid});
  if (FrameTyp & kFrameRight) line(l + w, t, l + w, t + h);
  if (FrameTyp & kFrameLeft) line(l, t, l, t + h);
  if (FrameTyp & kFrameBottom) line(l, t + h, l + w, t + h);
  if (FrameTyp & kFrameTop) line(l, t, l + w, t);
}

void TvtRoundRectView::LoadFromStream(ByteReader& stream) {
  TvtMemoView::LoadFromStream(stream);
  ShadowColor = stream.read_i32();
  ShadowWidth = stream.read_i32();
  FullFrame = stream.read_u8();
  RoundRect = stream.read_u8() != 0;
  RoundSize = stream.read_i32();
}

void TvtRoundRectView::SaveToStream(ByteWriter& stream) {
  TvtMemoView::SaveToStream(stream);
  stream.write_i32(ShadowColor);
  stream.write_i32(ShadowWidth);
  stream.write_u8(FullFrame);
  stream.write_u8(RoundRect ? 1 : 0);
  stream.write_i32(RoundSize);
}

}  // namespace zr
