#pragma once
// A page-like drawing that touches every kind of record the metafile writers know, shared by
// the metafile tests.

#include <memory>
#include <vector>

#include "platform/canvas/canvas.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/bitmap.h"
#include "platform/metafile/metafile.h"
#include "platform/metafile/metafile_recorder.h"

namespace zr::test {

inline constexpr Rect kSceneFrame{0, 0, 320, 240};

inline void draw_scene(Canvas& c) {
  c.set_brush(Brush::solid(Color::rgb(255, 255, 255)));
  c.fill_rect({0, 0, 320, 240});
  c.set_pen({Color::rgb(0, 0, 255), 2, PenStyle::Solid});
  c.set_brush(Brush::solid(Color::rgb(255, 255, 0)));
  c.rectangle({10, 10, 110, 60});
  c.ellipse({120, 10, 200, 60});
  c.round_rect({210, 10, 310, 60}, 20, 16);
  c.set_pen({Color::rgb(255, 0, 0), 1, PenStyle::Dash});
  c.line({10, 70}, {310, 70});
  std::vector<Point> zigzag{{10, 80}, {60, 120}, {110, 80}, {160, 120}};
  c.polyline(zigzag);
  c.set_brush(Brush::hatch(HatchStyle::Cross, Color::rgb(0, 128, 0)));
  std::vector<Point> triangle{{200, 80}, {300, 80}, {250, 130}};
  c.polygon(triangle);
  c.save_state();
  c.intersect_clip_rect({10, 140, 200, 170});
  c.set_font({"Arial", -16, kFsBold, kAnsiCharset, 0, 0});
  c.set_text_color(Color::rgb(0, 0, 128));
  c.set_bk_mode(BkMode::Transparent);
  c.text_out({12, 142}, "Total 1,234");
  c.restore_state();
  c.set_font({"\xB1\xBC\xB8\xB2", -13, 0, kHangulCharset, 0, 0});  // 굴림
  c.set_bk_color(Color::rgb(224, 224, 224));
  std::vector<int> advances{13, 13, 7, 7, 7};
  TextOutParams boxed;
  boxed.rect = Rect{10, 180, 150, 200};
  boxed.opaque = true;
  boxed.advances = advances;
  c.text_out({12, 182}, "\xC7\xD1\xB1\xDB abc", boxed);  // "한글 abc"
  Bitmap picture(4, 3, argb_from_color(0x3366CC));
  picture.set_color(0, 0, 0x0000FF);
  c.stretch_draw({220, 150, 300, 210}, picture);
}

// The scene recorded at its own frame; without fonts the recorder measures with its own.
inline Metafile record_scene(std::shared_ptr<FontResolver> fonts = nullptr) {
  MetafileRecorder recorder(kSceneFrame, {96, 96}, std::move(fonts));
  draw_scene(recorder);
  return recorder.finish();
}

}  // namespace zr::test
