#pragma once
// Helpers for the canvas tests: one font resolver for the whole test binary, pixel probes,
// and golden PNG comparison with a tolerance for anti-aliasing.
//
// ZR_UPDATE_GOLDEN=1 in the environment rewrites the goldens from the current drawing.

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/canvas/cairo_canvas.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/bitmap.h"

namespace zr::test {

inline std::shared_ptr<FontResolver> shared_fonts() {
  static auto fonts = std::make_shared<FontResolver>();
  return fonts;
}

inline std::filesystem::path temp_path(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("zr_canvas_" + std::to_string(::getpid()) + "_" + name);
}

// A white bitmap and a canvas on it.
struct Drawing {
  Bitmap bitmap;
  std::unique_ptr<CairoCanvas> canvas;

  Drawing(int width, int height)
      : bitmap(width, height, argb_from_color(0xFFFFFF)),
        canvas(CairoCanvas::for_bitmap(bitmap, shared_fonts())) {}
  // The colour (red in the low byte) at a pixel, the drawing flushed first.
  uint32_t at(int x, int y) {
    canvas->flush();
    return color_over_white(bitmap.pixel(x, y));
  }
  bool inked(int x, int y) { return at(x, y) != 0xFFFFFF; }
  // Pixels that are not white inside [left, right) x [top, bottom).
  int inked_count(const Rect& r) {
    canvas->flush();
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) count += inked(x, y) ? 1 : 0;
    return count;
  }
  // The smallest rectangle around the non-white pixels (empty when all is white).
  Rect ink_bounds() {
    canvas->flush();
    Rect b{bitmap.width(), bitmap.height(), 0, 0};
    for (int y = 0; y < bitmap.height(); ++y)
      for (int x = 0; x < bitmap.width(); ++x)
        if (inked(x, y))
          b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1),
               std::max(b.bottom, y + 1)};
    return b.empty() ? Rect{} : b;
  }
};

// Compares the drawing with tests/data/<folder>/<name>.png: channels may differ by
// `tolerance`, and up to `max_bad` pixels may differ by more.
inline void expect_matches_golden_in(const std::string& folder, Drawing& d, const std::string& name,
                                     int tolerance = 48, int max_bad = 12) {
  d.canvas->flush();
  std::string path = std::string(ZR_TEST_DATA_DIR) + "/" + folder + "/" + name + ".png";
  const Bitmap& bitmap = d.bitmap;
  cairo_surface_t* ours =
      cairo_image_surface_create_for_data(const_cast<uint8_t*>(bitmap.data()), CAIRO_FORMAT_ARGB32,
                                          bitmap.width(), bitmap.height(), bitmap.stride());
  const char* update = std::getenv("ZR_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    ASSERT_EQ(cairo_surface_write_to_png(ours, path.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(ours);
    return;
  }
  cairo_surface_destroy(ours);
  cairo_surface_t* golden = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(golden), CAIRO_STATUS_SUCCESS) << "missing golden " << path;
  ASSERT_EQ(cairo_image_surface_get_width(golden), bitmap.width());
  ASSERT_EQ(cairo_image_surface_get_height(golden), bitmap.height());
  const uint8_t* data = cairo_image_surface_get_data(golden);
  int stride = cairo_image_surface_get_stride(golden);
  int bad = 0;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      Argb want = reinterpret_cast<const Argb*>(data + y * stride)[x];
      Argb got = bitmap.pixel(x, y);
      for (int shift = 0; shift < 32; shift += 8) {
        int diff = std::abs(int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF));
        if (diff > tolerance) {
          ++bad;
          break;
        }
      }
    }
  }
  cairo_surface_destroy(golden);
  EXPECT_LE(bad, max_bad) << "pixels differing from " << path;
}

inline void expect_matches_golden(Drawing& d, const std::string& name, int tolerance = 48,
                                  int max_bad = 12) {
  expect_matches_golden_in("canvas", d, name, tolerance, max_bad);
}

}  // namespace zr::test
