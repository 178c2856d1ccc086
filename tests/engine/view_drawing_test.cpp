// Scaling, frames, backgrounds, band alignment and the drawing of lines and pictures, checked
// on the pixels of a bitmap canvas.
#include <memory>

#include "engine/engine_fixture.h"
#include "engine/model/band_view.h"
#include "engine/model/line_view.h"
#include "engine/model/page.h"
#include "engine/model/picture_view.h"
#include "engine/model/subreport_view.h"
#include "platform/canvas_test_support.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_recorder.h"

namespace zr {
namespace {

constexpr uint32_t kRed = 0x0000FF;

class ViewDrawingTest : public testing_support::EngineTest {
 protected:
  ViewDrawingTest() { globals().mode = EngineMode::Run; }
};

TEST_F(ViewDrawingTest, ApplyScaleComputesGeometryAndDrawRect) {
  struct Case {
    const char* name;
    EngineMode mode;
    double zoom;
    int32_t offset;
    float frame_width;
    uint16_t frame_typ;
    Rect bounds;  // left, top, width, height as a rectangle of the design geometry
    Rect scaled;  // the same of the scaled geometry
    int32_t gap_x, gap_y;
    Rect draw_rect;
  };
  const Case cases[] = {
      {"zoom 1",
       EngineMode::Run,
       1.0,
       0,
       1.0f,
       kFrameAll,
       {10, 20, 40, 60},
       {10, 20, 40, 60},
       2,
       1,
       {10, 20, 41, 61}},
      {"zoom 1.5, width 2, offset",
       EngineMode::Run,
       1.5,
       5,
       2.0f,
       kFrameAll,
       {10, 20, 40, 60},
       {20, 35, 65, 95},
       5,
       3,
       {21, 36, 64, 94}},
      {"zoom 1.5, halves to even",
       EngineMode::Run,
       1.5,
       0,
       0.5f,
       kFrameLeft | kFrameTop,
       {11, 3, 18, 8},
       {16, 4, 26, 12},
       3,
       2,
       {16, 4, 28, 13}},
      {"design mode ignores the zoom",
       EngineMode::Design,
       1.5,
       5,
       3.0f,
       kFrameRight | kFrameBottom,
       {10, 20, 40, 60},
       {10, 20, 40, 60},
       4,
       2,
       {10, 20, 39, 59}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    globals().mode = c.mode;
    TvtView view;
    view.SetBounds(c.bounds.left, c.bounds.top, c.bounds.width(), c.bounds.height());
    view.FrameWidth = c.frame_width;
    view.FrameTyp = c.frame_typ;
    view.ScaleX = view.ScaleY = c.zoom;
    view.OffsetX = view.OffsetY = c.offset;
    view.ApplyScale();
    EXPECT_EQ(Rect::from_size(view.Left, view.Top, view.Width, view.Height), c.scaled);
    EXPECT_FLOAT_EQ(view.FrameWidth,
                    c.mode == EngineMode::Run ? c.frame_width * c.zoom : c.frame_width);
    EXPECT_EQ(view.GapX, c.gap_x);
    EXPECT_EQ(view.GapY, c.gap_y);
    EXPECT_EQ(view.DrawRect, c.draw_rect);
    view.RestoreGeometry();
    EXPECT_EQ(Rect::from_size(view.Left, view.Top, view.Width, view.Height), c.bounds);
    EXPECT_EQ(view.FrameWidth, c.frame_width);
    EXPECT_EQ(view.GapX, 2);
  }
}

// A framed 20 x 20 view at (10, 10) drawn on a white 50 x 50 bitmap.
struct FramedView {
  test::Drawing d{50, 50};
  TvtView view;

  FramedView(uint16_t style, float width, double zoom = 1.0) {
    view.SetBounds(10, 10, 20, 20);
    view.FrameTyp = kFrameAll;
    view.FrameStyle = style;
    view.FrameWidth = width;
    view.ScaleX = view.ScaleY = zoom;
    view.Draw(*d.canvas);
  }
  // Inked pixels of column x from y = 12 to 27 (between the corners).
  int column_ink(int x) { return d.inked_count({x, 12, x + 1, 28}); }
};

TEST_F(ViewDrawingTest, SolidFramesCoverTheirWidthCentredOnTheSides) {
  FramedView thin(psSolid, 1.0f);
  for (Point p : {Point{10, 20}, Point{30, 20}, Point{20, 10}, Point{20, 30}, Point{30, 30}})
    EXPECT_EQ(thin.d.at(p.x, p.y), 0u) << p;
  EXPECT_FALSE(thin.d.inked(11, 20));
  EXPECT_FALSE(thin.d.inked(29, 20));
  EXPECT_FALSE(thin.d.inked(31, 20));

  FramedView wide(psSolid, 3.0f);
  for (int x : {9, 10, 11}) EXPECT_EQ(wide.column_ink(x), 16) << x;
  for (int x : {8, 12}) EXPECT_EQ(wide.column_ink(x), 0) << x;

  // Fractional widths: the pen takes the rounded width (2.5 -> 2, 0.25 -> 0, one pixel).
  FramedView two(psSolid, 2.5f);
  EXPECT_EQ(two.column_ink(10), 16);
  EXPECT_EQ(two.column_ink(9) + two.column_ink(11), 16);
  EXPECT_EQ(two.column_ink(8) + two.column_ink(12), 0);
  FramedView hair(psSolid, 0.25f);
  EXPECT_EQ(hair.column_ink(10), 16);
  EXPECT_EQ(hair.column_ink(9) + hair.column_ink(11), 0);

  // At zoom 1.5 the 1-pixel frame becomes round(1.5) = 2 pixels at the scaled edges.
  FramedView zoomed(psSolid, 1.0f, 1.5);
  EXPECT_TRUE(zoomed.d.inked(15, 30));
  EXPECT_TRUE(zoomed.d.inked(45, 30));
  EXPECT_FALSE(zoomed.d.inked(20, 30));
}

TEST_F(ViewDrawingTest, StyledFramesAreParallelOnePixelLines) {
  FramedView dash(psDashDot, 1.0f);
  EXPECT_GT(dash.column_ink(10), 0);
  EXPECT_LT(dash.column_ink(10), 16);  // gaps stay unpainted
  EXPECT_EQ(dash.column_ink(9) + dash.column_ink(11), 0);

  // A wide dashed pen would draw solid; three dashed lines are drawn instead.
  FramedView wide(psDot, 3.0f);
  for (int x : {9, 10, 11}) {
    EXPECT_GT(wide.column_ink(x), 0) << x;
    EXPECT_LT(wide.column_ink(x), 16) << x;
  }
  EXPECT_EQ(wide.column_ink(8) + wide.column_ink(12), 0);
}

TEST_F(ViewDrawingTest, DoubleFrameDrawsOuterAndInnerLinesAroundTheFill) {
  test::Drawing d(50, 50);
  TvtView view;
  view.SetBounds(10, 10, 20, 20);
  view.FrameTyp = kFrameAll;
  view.FrameStyle = psDouble;
  view.FillColor = kRed;
  view.Draw(*d.canvas);
  EXPECT_EQ(d.at(9, 20), 0u);     // outer
  EXPECT_EQ(d.at(10, 20), kRed);  // the middle line and the background in the fill colour
  EXPECT_EQ(d.at(11, 20), 0u);    // inner
  EXPECT_EQ(d.at(20, 20), kRed);
  EXPECT_EQ(d.at(29, 20), 0u);
  EXPECT_EQ(d.at(31, 20), 0u);
  EXPECT_EQ(d.at(9, 9), 0u);  // outer lines meet at the corners
  EXPECT_EQ(d.at(31, 31), 0u);
  EXPECT_FALSE(d.inked(8, 20));
  EXPECT_FALSE(d.inked(32, 20));
}

TEST_F(ViewDrawingTest, BackgroundAndFrameFollowModeAndPass) {
  struct Case {
    const char* name;
    EngineMode mode;
    bool first_pass;
    int32_t fill;
    uint32_t inside;  // the colour at the centre
    bool framed;
  };
  const Case cases[] = {
      {"run, no fill", EngineMode::Run, false, kClNone, 0x808080, true},
      {"run, red", EngineMode::Run, false, kRed, kRed, true},
      {"design, no fill paints white", EngineMode::Design, false, kClNone, 0xFFFFFF, true},
      {"first pass draws nothing", EngineMode::Run, true, kRed, 0x808080, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    globals().mode = c.mode;
    globals().FirstPass = c.first_pass;
    test::Drawing d(50, 50);
    d.bitmap.fill(argb_from_color(0x808080));
    TvtView view;
    view.SetBounds(10, 10, 20, 20);
    view.FrameTyp = kFrameLeft;
    view.FillColor = c.fill;
    view.Draw(*d.canvas);
    EXPECT_EQ(d.at(20, 20), c.inside);
    EXPECT_EQ(d.at(10, 20) == 0, c.framed);
    EXPECT_EQ(d.at(40, 40), 0x808080u);
  }
}

class BandAlignTest : public ViewDrawingTest {
 protected:
  BandAlignTest() {
    globals().mode = EngineMode::Design;
    page.LeftMargin = 20;
    page.RightMargin = 30;
    lb = page.PrintableBounds().left;
    rb = page.PrintableBounds().right;
  }
  TvtView* add(uint8_t align, int32_t left, int32_t width, int32_t top = 50) {
    TvtView* v = page.Add(std::make_unique<TvtView>());
    v->SetBounds(left, top, width, 10);
    v->BandAlign = align;
    return v;
  }
  TvtPage page;
  int32_t lb = 0, rb = 0;
};

TEST_F(BandAlignTest, RowOfLeftRightAndRestViews) {
  // A band with baLeft on the same row is not a neighbour.
  TvtView* band = page.Add(std::make_unique<TvtBandView>());
  band->SetBounds(150, 50, 500, 30);
  band->BandAlign = baLeft;
  TvtView* a = add(baLeft, 100, 30);
  TvtView* b = add(baLeft, 200, 40);
  TvtView* c = add(baRight, 400, 25);
  TvtView* d = add(baRight, 300, 35);
  TvtView* e = add(baRest, 250, 5);
  TvtView* other_row = add(baLeft, 300, 10, 80);
  for (TvtView* v : {a, b, c, d, e, other_row}) v->ApplyBandAlign(nullptr);
  EXPECT_EQ(globals().CurView, other_row);
  EXPECT_EQ(lb, 20);
  EXPECT_EQ(a->Left, lb);
  EXPECT_EQ(b->Left, lb + 30);
  EXPECT_EQ(c->Left, rb - 25);
  EXPECT_EQ(d->Left, rb - 25 - 35 - 1);
  EXPECT_EQ(e->Left, lb + 30 + 40);
  EXPECT_EQ(e->Width, d->Left - e->Left - 1);
  EXPECT_EQ(other_row->Left, lb);

  TvtView* alone = add(baRest, 300, 5, 120);
  alone->ApplyBandAlign(nullptr);
  EXPECT_EQ(alone->Left, lb);
  EXPECT_EQ(alone->Width, rb - lb);
}

TEST_F(BandAlignTest, CentreWidthTopAndBottom) {
  TvtView* centre = add(baCenter, 0, 101);
  centre->ApplyBandAlign(nullptr);
  EXPECT_EQ(centre->Left, lb + (rb - lb - 101) / 2);

  TvtView* wide = add(baWidth, 300, 5);
  wide->ApplyBandAlign(nullptr);
  EXPECT_EQ(wide->Left, lb);
  EXPECT_EQ(wide->Width, rb - lb);

  // Design mode: a view in a cross band takes its width; baTop and baBottom follow the band
  // under the view.
  auto cross = std::make_unique<TvtBandView>();
  cross->SetBandType(btCrossData);
  cross->SetBounds(400, 0, 77, 0);
  page.Add(std::move(cross));
  auto band = std::make_unique<TvtBandView>();
  band->SetBounds(0, 100, 0, 50);
  page.Add(std::move(band));
  TvtView* in_cross = add(baWidth, 410, 5, 20);
  in_cross->ApplyBandAlign(nullptr);
  EXPECT_EQ(in_cross->Width, 77);
  TvtView* bottom = add(baBottom, 10, 10, 110);
  bottom->Height = 20;
  bottom->ApplyBandAlign(nullptr);
  EXPECT_EQ(bottom->Top, 130);
  TvtView* top = add(baTop, 10, 10, 140);
  top->ApplyBandAlign(nullptr);
  EXPECT_EQ(top->Top, 100);

  // Run mode without a running band: the current page's bounds, one pixel narrower.
  globals().mode = EngineMode::Run;
  TvtPage current;
  globals().CurPage = &current;
  TvtView* run_wide = add(baWidth, 300, 5);
  run_wide->ApplyBandAlign(nullptr);
  EXPECT_EQ(run_wide->Left, current.PrintableBounds().left);
  EXPECT_EQ(run_wide->Width, current.PrintableBounds().width() - 1);
  TvtView* run_top = add(baTop, 10, 10, 140);
  run_top->ApplyBandAlign(nullptr);
  EXPECT_EQ(run_top->Top, 140);
  globals().CurPage = nullptr;
}

TEST_F(ViewDrawingTest, LinesTurnHorizontalOrVertical) {
  struct Case {
    int32_t width, height;
    uint16_t frame_typ;
    int32_t new_width, new_height;
  };
  const Case cases[] = {{50, 0, kFrameTop, 50, 0},
                        {5, 5, kFrameLeft, 0, 5},
                        {30, 10, kFrameTop, 30, 0},
                        {10, 30, kFrameLeft, 0, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    test::Drawing d(60, 60);
    TvtLineView line;
    line.SetBounds(5, 20, c.width, c.height);
    line.Draw(*d.canvas);
    EXPECT_EQ(line.FrameTyp, c.frame_typ);
    EXPECT_EQ(line.Width, c.new_width);
    EXPECT_EQ(line.Height, c.new_height);
    const Rect ink = d.ink_bounds();
    if (c.frame_typ == kFrameTop) {
      EXPECT_EQ(ink, Rect::from_size(5, 20, c.width + 1, 1));
    } else {
      EXPECT_EQ(ink, Rect::from_size(5, 20, 1, c.height + 1));
    }
  }
}

TEST_F(ViewDrawingTest, ClipRegionsWidenFramedSides) {
  struct Case {
    float width;
    uint16_t style, sides;
    bool enlarged;
    Rect expected;
  };
  // The view: (10, 10), 20 x 20.
  const Case cases[] = {
      {1.0f, psSolid, kFrameAll, false, {10, 10, 31, 31}},
      {3.0f, psSolid, kFrameAll, false, {8, 8, 32, 32}},
      {3.0f, psSolid, kFrameLeft | kFrameBottom, false, {8, 10, 31, 32}},
      {2.0f, psDouble, kFrameAll, false, {7, 7, 33, 33}},
      {1.0f, psSolid, 0, true, {0, 0, 41, 41}},
  };
  for (const Case& c : cases) {
    TvtView view;
    view.SetBounds(10, 10, 20, 20);
    view.FrameWidth = c.width;
    view.FrameStyle = c.style;
    view.FrameTyp = c.sides;
    EXPECT_EQ(view.GetClipRegion(c.enlarged).bounds(), c.expected);
  }
  TvtLineView line;
  line.SetBounds(10, 10, 20, 0);
  line.FrameWidth = 3.0f;
  EXPECT_EQ(line.GetClipRegion(false).bounds(), (Rect{10, 8, 31, 12}));
}

// A 10 x 20 red picture in a 40 x 20 view at the origin; DrawRect is (0, 0)-(41, 21).
struct PictureCase {
  const char* name;
  uint16_t flags;
  Rect red;  // expected painted area
};

TEST_F(ViewDrawingTest, PictureStretchesKeepsAspectAndCentres) {
  const std::string red_bmp = encode_bmp(Bitmap(10, 20, argb_from_color(kRed)));
  const PictureCase cases[] = {
      {"stretched", kFlagStretched, {0, 0, 41, 21}},
      {"keep aspect", kFlagStretched | kPictureKeepAspect, {0, 0, 10, 21}},
      {"keep aspect, centred",
       kFlagStretched | kPictureKeepAspect | kPictureCenter,
       {15, 0, 25, 21}},
      {"own size", 0, {0, 0, 10, 20}},
      {"own size, centred", kPictureCenter, {15, 0, 25, 20}},
  };
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::Drawing d(60, 30);
    TvtPictureView view;
    view.SetBounds(0, 0, 40, 20);
    view.Flags = c.flags;
    view.Picture = Picture::from_bytes(GraphicKind::Bitmap, red_bmp);
    view.Draw(*d.canvas);
    EXPECT_EQ(d.ink_bounds(), c.red);
    EXPECT_EQ(d.at(c.red.left + 2, c.red.top + 2), kRed);
    EXPECT_EQ(d.at(c.red.right - 2, c.red.bottom - 2), kRed);
  }
}

TEST_F(ViewDrawingTest, PictureAtZoomScalesItsOwnSize) {
  const std::string red_bmp = encode_bmp(Bitmap(10, 20, argb_from_color(kRed)));
  test::Drawing d(60, 60);
  TvtPictureView view;
  view.SetBounds(0, 0, 30, 30);
  view.Flags = 0;
  view.ScaleX = view.ScaleY = 1.5;
  view.Picture = Picture::from_bytes(GraphicKind::Bitmap, red_bmp);
  view.Draw(*d.canvas);
  EXPECT_EQ(d.ink_bounds(), (Rect{0, 0, 15, 30}));
}

TEST_F(ViewDrawingTest, BandsAndSubreportsDrawInDesignModeOnly) {
  TvtPage page;
  auto* band = static_cast<TvtBandView*>(page.Add(std::make_unique<TvtBandView>()));
  band->SetBandType(btMasterData);
  band->SetBounds(0, 20, 0, 15);
  auto* sub = page.Add(std::make_unique<TvtSubReportView>());
  sub->SetBounds(30, 45, 40, 10);
  for (EngineMode mode : {EngineMode::Run, EngineMode::Design}) {
    globals().mode = mode;
    test::Drawing d(200, 60);
    band->Draw(*d.canvas);
    if (mode == EngineMode::Run) {
      EXPECT_EQ(d.ink_bounds(), Rect{});
      continue;
    }
    // The strip spans the page's width (wider than the bitmap) at the band's Top.
    EXPECT_EQ(d.ink_bounds(), (Rect{0, 20, 200, 35}));
    EXPECT_EQ(d.at(100, 20), 0u);  // outline
    sub->Draw(*d.canvas);
    EXPECT_EQ(d.at(30, 50), 0u);
    EXPECT_EQ(d.at(70, 50), 0u);
    EXPECT_EQ(d.at(65, 53), 0xFFFFFFu);
  }
}

TEST_F(ViewDrawingTest, MetafilePicturesArePlayedIntoTheTarget) {
  MetafileRecorder recorder(Rect{0, 0, 10, 20}, Resolution{});
  recorder.set_brush(Brush::solid(Color(kRed)));
  recorder.fill_rect({0, 0, 10, 20});
  test::Drawing d(60, 30);
  TvtPictureView view;
  view.SetBounds(0, 0, 40, 20);
  view.Flags = kFlagStretched | kPictureKeepAspect | kPictureCenter;
  view.Picture = Picture::from_bytes(GraphicKind::Metafile, write_emf(recorder.finish()));
  ASSERT_EQ(view.Picture.width(), 10);
  view.Draw(*d.canvas);
  EXPECT_EQ(d.at(20, 10), kRed);
  EXPECT_FALSE(d.inked(5, 10));
  EXPECT_FALSE(d.inked(35, 10));
}

TEST_F(ViewDrawingTest, PrintedPicturesAreFlattenedOntoWhite) {
  Bitmap clear(4, 4, kTransparent);
  for (bool printing : {false, true}) {
    test::Drawing d(20, 20);
    d.bitmap.fill(argb_from_color(0x00FF00));
    TvtPictureView view;
    view.SetBounds(0, 0, 9, 9);
    view.IsPrinting = printing;
    view.Picture =
        Picture::from_bytes(GraphicKind::Bitmap, encode_bmp(clear, BmpPixelFormat::k32Bit));
    view.Draw(*d.canvas);
    EXPECT_EQ(d.at(5, 5), printing ? 0xFFFFFFu : 0x00FF00u) << printing;
  }
}

}  // namespace
}  // namespace zr
