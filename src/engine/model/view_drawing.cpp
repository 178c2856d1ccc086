// Background, frame and the base Draw of every view.
#include <algorithm>

#include "engine/model/frame_pen_style.h"
#include "engine/model/view.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/rounding.h"

namespace zr {

namespace {

// One frame side from `from` to `to` (both drawn), moved by `shift` across the side and
// lengthened by `grow` at both ends.
void side_line(Canvas& canvas, Point from, Point to, int shift, int grow) {
  auto at = [](int v, int64_t by) { return SaturateInt32(int64_t{v} + by); };
  if (from.y == to.y) {  // horizontal
    canvas.line({at(from.x, -grow), at(from.y, shift)}, {at(to.x, grow + 1), at(to.y, shift)});
  } else {
    canvas.line({at(from.x, shift), at(from.y, -grow)}, {at(to.x, shift), at(to.y, grow + 1)});
  }
}

void corner_marks(Canvas& canvas, const Rect& r) {
  constexpr int kArm = 3;
  canvas.set_pen(Pen{kBlack, 1, PenStyle::Solid});
  for (int x : {r.left, r.right}) {
    for (int y : {r.top, r.bottom}) {
      const int dx = x == r.left ? kArm : -kArm;
      const int dy = y == r.top ? kArm : -kArm;
      canvas.line({x, y}, {x + dx, y});
      canvas.line({x, y}, {x, y + dy});
    }
  }
}

}  // namespace

PenStyle FramePenStyle(uint16_t frame_style) {
  switch (frame_style) {
    case psDash:
      return PenStyle::Dash;
    case psDot:
      return PenStyle::Dot;
    case psDashDot:
      return PenStyle::DashDot;
    case psDashDotDot:
      return PenStyle::DashDotDot;
    default:
      return PenStyle::Solid;  // double frames are three solid lines
  }
}

void TvtView::DrawBackground() {
  TvtGlobals& g = TvtGlobals::Get();
  if (g.FirstPass || !DrawCanvas) return;
  Color fill(static_cast<uint32_t>(FillColor));
  Rect area = DrawRect;
  if (g.run_mode()) {
    if (fill.is_none()) return;
    area = {Left, Top, SaturateInt32(int64_t{ScaledRight()} + 1),
            SaturateInt32(int64_t{ScaledBottom()} + 1)};
  } else if (fill.is_none()) {
    fill = kWhite;
  }
  DrawCanvas->set_brush(Brush::solid(fill));
  DrawCanvas->fill_rect(area);
}

void TvtView::DrawFrame() {
  TvtGlobals& g = TvtGlobals::Get();
  if (g.FirstPass || !DrawCanvas) return;
  Canvas& canvas = *DrawCanvas;
  CanvasStateSaver saver(canvas);
  // Gaps of styled lines show what lies under the frame.
  canvas.set_bk_mode(BkMode::Transparent);
  const int32_t right = ScaledRight(), bottom = ScaledBottom();
  if (!g.run_mode() && Width > 0 && Height > 0) corner_marks(canvas, {Left, Top, right, bottom});
  if (!(FrameTyp & kFrameAll)) return;

  const int width = round_half_even_to_int(FrameWidth);
  const PenStyle style = FramePenStyle(FrameStyle);
  const Color frame_color(static_cast<uint32_t>(FrameColor));
  struct Side {
    uint16_t bit;
    Point from, to;
    int outward;  // the direction (across the side) away from the view
  };
  const Side sides[] = {{kFrameRight, {right, Top}, {right, bottom}, 1},
                        {kFrameLeft, {Left, Top}, {Left, bottom}, -1},
                        {kFrameBottom, {Left, bottom}, {right, bottom}, 1},
                        {kFrameTop, {Left, Top}, {right, Top}, -1}};
  for (const Side& side : sides) {
    if (!(FrameTyp & side.bit)) continue;
    if (FrameStyle == psDouble) {
      // Outer and inner lines in the frame colour, the fill colour between them; each line
      // grows or shrinks along the side so that the corners meet.
      for (int k : {-1, 1}) {
        canvas.set_pen(Pen{frame_color, width, PenStyle::Solid});
        side_line(canvas, side.from, side.to, k * side.outward * width, k * width);
      }
      canvas.set_pen(Pen{Color(static_cast<uint32_t>(FillColor)), width, PenStyle::Solid});
      side_line(canvas, side.from, side.to, 0, 0);
    } else if (style != PenStyle::Solid) {
      // Wide pens draw solid, so a wide styled frame is drawn as parallel 1-pixel lines.
      const int count = std::max(width, 1);
      canvas.set_pen(Pen{frame_color, 1, style});
      for (int i = 0; i < count; ++i) side_line(canvas, side.from, side.to, i - count / 2, 0);
    } else {
      canvas.set_pen(Pen{frame_color, width, PenStyle::Solid});
      side_line(canvas, side.from, side.to, 0, 0);
    }
  }
}

void TvtView::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  ScaledGeometry scaled(*this);
  DrawBackground();
  DrawFrame();
}

}  // namespace zr
