// The Cairo backend on a bitmap: GDI's pixel rules for lines and shapes, clipping, brushes,
// flood fill, pictures, and golden images of whole scenes.

#include <gtest/gtest.h>

#include "canvas_test_support.h"

namespace zr {
namespace {

using test::Drawing;

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhiteValue = 0xFFFFFF;

TEST(CairoCanvas, ThinLinesCoverWholePixelsAndOmitTheEndPoint) {
  for (int width : {0, 1}) {
    Drawing d(20, 20);
    d.canvas->set_pen({kBlack, width, PenStyle::Solid});
    d.canvas->line({2, 5}, {8, 5});
    d.canvas->line({12, 2}, {12, 9});
    EXPECT_EQ(d.at(2, 5), 0u);
    EXPECT_EQ(d.at(7, 5), 0u);
    EXPECT_FALSE(d.inked(8, 5));  // end point
    EXPECT_FALSE(d.inked(1, 5));
    EXPECT_EQ(d.inked_count({0, 0, 10, 20}), 6);  // one row only: no half-pixel smear
    EXPECT_EQ(d.inked_count({10, 0, 20, 20}), 7);
    EXPECT_EQ(d.canvas->state().position, (Point{12, 9}));
  }
}

TEST(CairoCanvas, RectangleOutlineStaysInsideExclusiveBounds) {
  Drawing d(20, 20);
  d.canvas->set_pen({kBlack, 1, PenStyle::Solid});
  d.canvas->set_brush(Brush::solid(Color(kRed)));
  d.canvas->rectangle({2, 3, 10, 8});
  EXPECT_EQ(d.ink_bounds(), (Rect{2, 3, 10, 8}));
  EXPECT_EQ(d.at(2, 3), 0u);
  EXPECT_EQ(d.at(9, 7), 0u);
  EXPECT_EQ(d.at(3, 4), kRed);
  EXPECT_EQ(d.at(8, 6), kRed);

  // Without a pen GDI fills one pixel less on the right and bottom.
  Drawing n(20, 20);
  n.canvas->set_pen({kBlack, 1, PenStyle::Clear});
  n.canvas->set_brush(Brush::solid(Color(kRed)));
  n.canvas->rectangle({2, 3, 10, 8});
  EXPECT_EQ(n.ink_bounds(), (Rect{2, 3, 9, 7}));
  n.canvas->fill_rect({12, 12, 15, 14});  // fill_rect: the whole rectangle
  EXPECT_EQ(n.inked_count({11, 11, 16, 15}), 6);
}

TEST(CairoCanvas, PenStylesAndWidths) {
  // Dashed thin lines have gaps; wide dashed pens draw solid; a clear pen draws nothing.
  struct Case {
    Pen pen;
    int min_inked, max_inked;  // pixels of a 60-pixel line
  } cases[] = {
      {{kBlack, 1, PenStyle::Solid}, 60, 60},      {{kBlack, 1, PenStyle::Dash}, 40, 50},
      {{kBlack, 1, PenStyle::Dot}, 28, 32},        {{kBlack, 1, PenStyle::DashDot}, 30, 42},
      {{kBlack, 1, PenStyle::DashDotDot}, 30, 42}, {{kBlack, 3, PenStyle::Dash}, 180, 200},
      {{kBlack, 1, PenStyle::Clear}, 0, 0},        {{Color::none(), 1, PenStyle::Solid}, 0, 0},
  };
  for (const Case& c : cases) {
    Drawing d(80, 20);
    d.canvas->set_bk_mode(BkMode::Transparent);
    d.canvas->set_pen(c.pen);
    d.canvas->line({10, 10}, {70, 10});
    int inked = d.inked_count({0, 0, 80, 20});
    EXPECT_GE(inked, c.min_inked) << c.pen;
    EXPECT_LE(inked, c.max_inked) << c.pen;
  }
  // In opaque mode the gaps of a styled line take the background colour.
  Drawing d(80, 20);
  d.canvas->set_bk_mode(BkMode::Opaque);
  d.canvas->set_bk_color(Color(kRed));
  d.canvas->set_pen({kBlack, 1, PenStyle::Dash});
  d.canvas->line({10, 10}, {70, 10});
  EXPECT_EQ(d.at(10, 10), 0u);
  EXPECT_EQ(d.at(30, 10), kRed);  // 18 on, 6 off
}

TEST(CairoCanvas, ClipIntersectsAndRestores) {
  Drawing d(40, 40);
  d.canvas->set_brush(Brush::solid(Color(kBlue)));
  {
    CanvasStateSaver saver(*d.canvas);
    d.canvas->intersect_clip_rect({0, 0, 20, 20});
    d.canvas->intersect_clip_rect({10, 10, 40, 40});
    d.canvas->fill_rect({0, 0, 40, 40});
    EXPECT_EQ(d.ink_bounds(), (Rect{10, 10, 20, 20}));
    Region two;
    two.add({10, 10, 12, 12});
    two.add({18, 18, 20, 20});
    d.canvas->intersect_clip_region(two);
    EXPECT_FALSE(d.canvas->rect_visible({13, 13, 17, 17}));
  }
  d.canvas->fill_rect({30, 30, 32, 32});
  EXPECT_EQ(d.at(31, 31), kBlue);  // clip gone after restore
}

TEST(CairoCanvas, FloodFillStopsAtTheBorderColour) {
  Drawing d(30, 30);
  d.canvas->set_pen({kBlack, 1, PenStyle::Solid});
  d.canvas->set_brush(Brush::clear());
  d.canvas->rectangle({5, 5, 15, 15});
  d.canvas->set_brush(Brush::solid(Color(kRed)));
  d.canvas->flood_fill({8, 8}, kBlack, FloodFillType::Border);
  EXPECT_EQ(d.at(6, 6), kRed);
  EXPECT_EQ(d.at(13, 13), kRed);
  EXPECT_EQ(d.at(5, 5), 0u);
  EXPECT_EQ(d.at(20, 20), kWhiteValue);
  d.canvas->set_brush(Brush::solid(Color(kBlue)));
  d.canvas->flood_fill({20, 20}, kWhite, FloodFillType::Surface);
  EXPECT_EQ(d.at(0, 0), kBlue);
  EXPECT_EQ(d.at(8, 8), kRed);
}

TEST(CairoCanvas, StretchDrawScalesTheBitmap) {
  Bitmap picture(2, 2);
  picture.set_color(0, 0, kRed);
  picture.set_color(1, 0, kBlue);
  picture.set_color(0, 1, kBlue);
  picture.set_color(1, 1, kRed);
  Drawing d(20, 20);
  d.canvas->stretch_draw({4, 4, 12, 12}, picture);
  EXPECT_EQ(d.ink_bounds(), (Rect{4, 4, 12, 12}));
  EXPECT_EQ(d.at(5, 5), kRed);
  EXPECT_EQ(d.at(10, 5), kBlue);
  EXPECT_EQ(d.at(10, 10), kRed);
}

TEST(CairoCanvas, PatternBrushesFollowTheBackgroundMode) {
  for (BkMode mode : {BkMode::Transparent, BkMode::Opaque}) {
    Drawing d(16, 16);
    d.canvas->set_bk_mode(mode);
    d.canvas->set_bk_color(Color(kBlue));
    d.canvas->set_brush(Brush::hatch(HatchStyle::Horizontal, Color(kRed)));
    d.canvas->fill_rect({0, 0, 16, 16});
    EXPECT_EQ(d.at(3, 0), kRed);  // anchored at the device origin: rows 0 and 8
    EXPECT_EQ(d.at(3, 8), kRed);
    EXPECT_EQ(d.at(3, 4), mode == BkMode::Opaque ? kBlue : kWhiteValue);
  }
}

TEST(CairoCanvas, KeepsTheClipOfAContextItIsGiven) {
  // A widget hands over its own context, already clipped to what needs repainting.
  Bitmap bitmap(20, 20, argb_from_color(kWhiteValue));
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      bitmap.data(), CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(), bitmap.stride());
  cairo_t* cr = cairo_create(surface);
  cairo_rectangle(cr, 0, 0, 10, 20);
  cairo_clip(cr);
  {
    CairoCanvas canvas(cr, {0, 0, 20, 20}, {96, 96}, test::shared_fonts());
    canvas.set_brush(Brush::solid(Color(kRed)));
    canvas.save_state();
    canvas.intersect_clip_rect({5, 0, 20, 20});
    canvas.restore_state();
    canvas.fill_rect({0, 0, 20, 20});
    canvas.flush();
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  EXPECT_EQ(bitmap.color(2, 5), kRed);          // the canvas's own clip is gone
  EXPECT_EQ(bitmap.color(12, 5), kWhiteValue);  // the widget's is not
}

TEST(CairoCanvas, PrimitivesMatchGolden) {
  Drawing d(120, 80);
  Canvas& c = *d.canvas;
  c.set_pen({kBlack, 1, PenStyle::Solid});
  c.set_brush(Brush::solid(Color::rgb(255, 255, 0)));
  c.rectangle({5, 5, 40, 30});
  c.ellipse({45, 5, 80, 30});
  c.round_rect({85, 5, 115, 30}, 10, 10);
  c.set_pen({Color::rgb(0, 0, 255), 3, PenStyle::Solid});
  c.set_brush(Brush::hatch(HatchStyle::DiagCross, Color::rgb(0, 128, 0)));
  c.set_bk_mode(BkMode::Transparent);
  const Point triangle[] = {{10, 75}, {30, 40}, {50, 75}};
  c.polygon(triangle);
  c.set_pen({Color::system(kSysColorButtonFace + 1), 2, PenStyle::Dash});  // wide: solid
  const Point zigzag[] = {{60, 40}, {70, 70}, {80, 40}, {90, 70}};
  c.polyline(zigzag);
  c.set_pen({Color::rgb(255, 0, 0), 1, PenStyle::DashDot});
  c.line({60, 76}, {115, 76});
  test::expect_matches_golden(d, "primitives");
}

}  // namespace
}  // namespace zr
