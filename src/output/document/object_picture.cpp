#include "output/document/object_picture.h"

#include "engine/model/view.h"
#include "engine/report/tvt_globals.h"
#include "output/document/document_records.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/rounding.h"

namespace zr {

namespace {

// Puts the view back where it was when the drawing is done.
class MovedToOrigin {
 public:
  explicit MovedToOrigin(TvtView& view) : view_(view), left_(view.Left), top_(view.Top) {
    view_.Left = 0;
    view_.Top = 0;
  }
  ~MovedToOrigin() {
    view_.Left = left_;
    view_.Top = top_;
  }
  MovedToOrigin(const MovedToOrigin&) = delete;
  MovedToOrigin& operator=(const MovedToOrigin&) = delete;

 private:
  TvtView& view_;
  int32_t left_, top_;
};

// Far more than any page holds: an object this large comes from a damaged record and would
// only tie up memory.
bool picture_size_allowed(int64_t width, int64_t height) {
  return Bitmap::size_allowed(width, height) && width * height <= kMaxPicturePixels;
}

}  // namespace

std::optional<Bitmap> RenderObjectPicture(TvtView& view) {
  const int64_t width = int64_t{view.Width} + 1;
  const int64_t height = int64_t{view.Height} + 1;
  if (view.Width <= 0 || view.Height <= 0 || !picture_size_allowed(width, height)) return {};
  const int64_t screen_width = round_half_even(width / 96.0 * ScreenPPI);
  const int64_t screen_height = round_half_even(height / 96.0 * ScreenPPI);
  if (!picture_size_allowed(screen_width, screen_height)) return {};

  Bitmap drawn(static_cast<int>(width), static_cast<int>(height), argb_from_color(0xFFFFFF));
  {
    TvtGlobals& g = TvtGlobals::Get();
    auto canvas = CairoCanvas::for_bitmap(drawn, g.fonts);
    MovedToOrigin moved(view);
    view.Draw(*canvas);
    canvas->flush();
  }
  if (screen_width == width && screen_height == height) return drawn;

  Bitmap scaled(static_cast<int>(screen_width), static_cast<int>(screen_height),
                argb_from_color(0xFFFFFF));
  auto canvas = CairoCanvas::for_bitmap(scaled, TvtGlobals::Get().fonts);
  canvas->stretch_draw({0, 0, static_cast<int>(screen_width), static_cast<int>(screen_height)},
                       drawn);
  canvas->flush();
  return scaled;
}

}  // namespace zr
