// Metafiles drawn by the real backends: the trace of a scene drawn directly and through a
// recorded metafile, and the pixels of a scene drawn directly and through our EMF and WMF.

#include <gtest/gtest.h>

#include "canvas_test_support.h"
#include "metafile_scene.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/metafile/metafile_recorder.h"
#include "platform/metafile/wmf_writer.h"

namespace zr {
namespace {

TEST(MetafileCanvas, DirectAndRecordedDrawingGiveTheSameTrace) {
  TraceCanvas direct(test::shared_fonts(), test::kSceneFrame);
  test::draw_scene(direct);
  TraceCanvas played(test::shared_fonts(), test::kSceneFrame);
  test::record_scene(test::shared_fonts()).play(played);
  EXPECT_FALSE(direct.trace().empty());
  EXPECT_EQ(played.trace(), direct.trace());
  EXPECT_EQ(played.saved_state_count(), 0);
}

// Channels may differ by `tolerance`; returns the pixels that differ more.
int differing_pixels(const Bitmap& a, const Bitmap& b, const Rect& area, int tolerance = 40) {
  int bad = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      uint32_t p = color_over_white(a.pixel(x, y)), q = color_over_white(b.pixel(x, y));
      for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > tolerance) {
          ++bad;
          break;
        }
      }
    }
  }
  return bad;
}

TEST(MetafileCanvas, EmfAndWmfReadBackDrawTheSamePicture) {
  test::Drawing direct(320, 240);
  test::draw_scene(*direct.canvas);
  direct.canvas->flush();
  Metafile m = test::record_scene(test::shared_fonts());
  for (const std::string& bytes : {write_emf(m), write_wmf(m)}) {
    test::Drawing played(320, 240);
    read_metafile(bytes).play(*played.canvas, test::kSceneFrame);
    played.canvas->flush();
    EXPECT_EQ(differing_pixels(direct.bitmap, played.bitmap, test::kSceneFrame), 0);
  }
}

TEST(MetafileCanvas, PlaysScaledIntoARectangle) {
  test::Drawing d(640, 480);
  test::record_scene(test::shared_fonts()).play(*d.canvas, Rect{0, 0, 640, 480});
  // The yellow rectangle (10,10)-(110,60) doubled; the blue frame two pixels wider.
  EXPECT_EQ(d.at(120, 70), 0x00FFFFu);
  EXPECT_EQ(d.at(21, 70), 0xFF0000u);
  EXPECT_EQ(d.at(5, 470), 0xFFFFFFu);
  // The bitmap stretched into (440,300)-(600,420).
  EXPECT_EQ(d.at(560, 400), color_over_white(argb_from_color(0x3366CC)));
}

}  // namespace
}  // namespace zr
