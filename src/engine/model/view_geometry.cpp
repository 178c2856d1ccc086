// Scaling for drawing, clip regions and band alignment.
#include <optional>

#include "engine/model/band_view.h"
#include "engine/model/page.h"
#include "engine/model/view.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band.h"
#include "platform/rounding.h"

namespace zr {

namespace {

int32_t rnd(double x) {
  return round_half_even_to_int(x);
}

int32_t sat(int64_t x) {
  return SaturateInt32(x);
}

// The band view under `view` on its page: a non-cross band whose strip holds the view's
// Top, or with `cross` a cross band whose strip holds its Left.
const TvtBandView* band_under(const TvtView& view, bool cross) {
  if (!view.Parent) return nullptr;
  for (const auto& object : view.Parent->Objects) {
    const auto* band = dynamic_cast<const TvtBandView*>(object.get());
    if (!band || band->IsCross() != cross) continue;
    int32_t at = cross ? view.Left : view.Top;
    int32_t from = cross ? band->Left : band->Top;
    int32_t size = cross ? band->Width : band->Height;
    if (at >= from && at < int64_t{from} + size) return band;
  }
  return nullptr;
}

}  // namespace

ViewScale TvtView::EffectiveScale() const {
  if (!TvtGlobals::Get().run_mode()) return {};
  return {ScaleX, ScaleY, OffsetX, OffsetY};
}

void TvtView::ApplyScale() {
  saved_ = {Left, Top, Width, Height, FrameWidth, GapX, GapY};
  const ViewScale s = EffectiveScale();
  const double fw = saved_.frame_width;
  Left = sat(int64_t{rnd(Left * s.kx)} + s.ox);
  Top = sat(int64_t{rnd(Top * s.ky)} + s.oy);
  Width = rnd(Width * s.kx);
  Height = rnd(Height * s.ky);
  FrameWidth = static_cast<float>(fw * s.kx);
  GapX = sat(int64_t{rnd(saved_.gap_x * s.kx)} + rnd(s.kx * fw / 2));
  GapY = sat(int64_t{rnd(saved_.gap_y * s.ky)} + rnd(s.ky * fw / 2) / 2);

  int64_t left = Left, top = Top, right = ScaledRight(), bottom = ScaledBottom();
  if (FrameTyp & kFrameRight) right -= rnd(s.kx * fw / 2);
  if (FrameTyp & kFrameBottom) bottom -= rnd(s.ky * fw / 2);
  if (FrameTyp & kFrameLeft) left += rnd((s.kx * fw - 1) / 2);
  if (FrameTyp & kFrameTop) top += rnd((s.ky * fw - 1) / 2);
  DrawRect = {sat(left), sat(top), sat(right + 1), sat(bottom + 1)};
}

void TvtView::RestoreGeometry() {
  Left = saved_.left;
  Top = saved_.top;
  Width = saved_.width;
  Height = saved_.height;
  FrameWidth = saved_.frame_width;
  GapX = saved_.gap_x;
  GapY = saved_.gap_y;
}

int32_t TvtView::ScaledRight() const {
  const ViewScale s = EffectiveScale();
  return rnd((static_cast<double>(saved_.left) + saved_.width) * s.kx + s.ox);
}

int32_t TvtView::ScaledBottom() const {
  const ViewScale s = EffectiveScale();
  return rnd((static_cast<double>(saved_.top) + saved_.height) * s.ky + s.oy);
}

Region TvtView::GetClipRegion(bool enlarged) {
  const double fw = FrameWidth;
  const bool dbl = FrameStyle == psDouble;
  const int32_t outer = dbl ? rnd(fw * 1.5) : rnd(fw / 2);                 // left and top
  const int32_t inner = dbl ? rnd(fw + (fw - 1) / 2) : rnd((fw - 1) / 2);  // right and bottom
  int64_t left = Left, top = Top;
  int64_t right = left + Width + 1, bottom = top + Height + 1;
  if (FrameTyp & kFrameLeft) left -= outer;
  if (FrameTyp & kFrameTop) top -= outer;
  if (FrameTyp & kFrameRight) right += inner;
  if (FrameTyp & kFrameBottom) bottom += inner;
  const int grow = enlarged ? 10 : 0;
  return Region({sat(left - grow), sat(top - grow), sat(right + grow), sat(bottom + grow)});
}

void TvtView::ApplyBandAlign(Canvas* canvas) {
  TvtGlobals& g = TvtGlobals::Get();
  DrawCanvas = canvas;
  g.CurView = this;
  if (!Parent || BandAlign == baNone) return;
  const TvtPage* page = g.run_mode() && g.CurPage ? g.CurPage : Parent;
  const Rect bounds = page->PrintableBounds();
  const int32_t lb = bounds.left, rb = bounds.right;

  // The nearest neighbour of the row with `align` on the left (largest Left below ours) or
  // on the right (smallest Left above ours).
  auto nearest = [&](uint8_t align, bool on_left) -> const TvtView* {
    const TvtView* best = nullptr;
    for (const auto& object : Parent->Objects) {
      const TvtView* v = object.get();
      if (v == this || v->ObjectType == kObjBand || v->Top != Top || v->BandAlign != align)
        continue;
      if (on_left ? v->Left >= Left : v->Left <= Left) continue;
      if (!best || (on_left ? v->Left > best->Left : v->Left < best->Left)) best = v;
    }
    return best;
  };
  // When the left neighbour ends beyond the right bound the view keeps its width.
  auto align_left = [&] {
    const TvtView* n = nearest(baLeft, true);
    Left = n ? sat(int64_t{n->Left} + n->Width) : lb;
  };

  switch (BandAlign) {
    case baLeft:
      align_left();
      break;
    case baRight: {
      const TvtView* n = nearest(baRight, false);
      Left = sat(n ? int64_t{n->Left} - Width - 1 : int64_t{rb} - Width);
      break;
    }
    case baRest: {
      align_left();
      const TvtView* right = nearest(baRight, false);
      Width = sat(right ? int64_t{right->Left} - Left - 1 : int64_t{rb} - Left);
      break;
    }
    case baCenter:
      Left = sat(lb + (int64_t{rb} - lb - Width) / 2);
      break;
    case baWidth:
      if (!g.run_mode()) {
        if (const TvtBandView* band = band_under(*this, true)) {
          Width = band->Width;
        } else {
          Left = lb;
          Width = sat(int64_t{rb} - lb);
        }
      } else if (!g.CurBand) {
        Left = lb;
        Width = sat(int64_t{rb} - lb - 1);
      }
      break;
    case baBottom:
    case baTop:
      if (g.run_mode()) break;
      if (const TvtBandView* band = band_under(*this, false))
        Top = BandAlign == baTop ? band->Top : sat(int64_t{band->Top} + band->Height - Height);
      break;
    default:
      break;
  }
}

void TvtView::ApplyBandRelativeAlign() {
  const TvtBand* band = TvtGlobals::Get().CurBand;
  if (!band || BandAlign == baNone) return;
  // The running band: baBottom puts the view's bottom on the band's bottom (as stretched),
  // baTop its Top on the band's top, baWidth in a cross band takes the band's width.
  if (IsCrossBandType(band->type())) {
    if (BandAlign == baWidth) Width = band->dx;
    return;
  }
  const int32_t height = band->calculated_height > band->dy ? band->calculated_height : band->dy;
  if (BandAlign == baTop) Top = band->y;
  if (BandAlign == baBottom) Top = SaturateInt32(int64_t{band->y} + height - Height);
}

}  // namespace zr
