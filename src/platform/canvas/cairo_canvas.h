#pragma once
// The canvas over cairo: raster bitmaps, a widget's context, PDF and PostScript pages. It
// draws with GDI's pixel rules so output matches the system's:
// - 1-pixel (and other odd-width) lines run through pixel centres; a line omits its end
//   point; pen width 0 draws 1 pixel; dashed styles apply to widths up to 1 (wider pens draw
//   solid) and their gaps take the background colour in opaque background mode;
// - rectangle, ellipse and round_rect outlines lie inside right/bottom-exclusive bounds;
//   without a pen the fill is one pixel smaller on the right and bottom, as in GDI;
// - text is placed at the top-left of its cell with each character's advance in whole device
//   pixels from the Font (never cairo's fractional advances), so text_extent and text_out
//   agree pixel for pixel; escapement turns it counter-clockwise about that corner.
// Anti-aliasing stays on. The glyphs are drawn from the font's own files, opened by cairo
// apart from the measuring Font, so drawing never disturbs the Font's sizes.

#include <cairo.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/canvas/cairo_handles.h"
#include "platform/canvas/font_canvas.h"

namespace zr {

class Bitmap;

class CairoCanvas : public FontCanvas {
 public:
  // Draws on `cr` (not null; a reference is taken) whose user space must be device pixels; `device`
  // is the drawable extent in those pixels. The canvas's clip is applied on top of the clip `cr`
  // already has.
  CairoCanvas(cairo_t* cr, Rect device, Resolution resolution,
              std::shared_ptr<FontResolver> fonts = nullptr);
  ~CairoCanvas() override;

  // Draws into `bitmap`'s pixels; the bitmap must outlive the canvas and keep its size. The
  // pixels are complete after flush() or the canvas's end.
  static std::unique_ptr<CairoCanvas> for_bitmap(Bitmap& bitmap,
                                                 std::shared_ptr<FontResolver> fonts = nullptr,
                                                 Resolution resolution = {});
  // A PDF or PostScript file of pages width_pt x height_pt points, drawn in device pixels of
  // 1/resolution inch. Call show_page() after each page and finish() at the end. Raises
  // IoError when the file cannot be created.
  static std::unique_ptr<CairoCanvas> for_pdf(const std::filesystem::path& path, double width_pt,
                                              double height_pt, Resolution resolution,
                                              std::shared_ptr<FontResolver> fonts = nullptr);
  static std::unique_ptr<CairoCanvas> for_postscript(const std::filesystem::path& path,
                                                     double width_pt, double height_pt,
                                                     Resolution resolution,
                                                     std::shared_ptr<FontResolver> fonts = nullptr);

  // Ends the page (vector surfaces; a raster surface keeps its pixels).
  void show_page();
  // Writes out pending drawing.
  void flush();
  // Completes the output (the file of a PDF or PostScript canvas); draw nothing afterwards.
  // Raises IoError when writing failed. Also done, without raising, by the destructor.
  void finish();

  cairo_t* context() const { return cr_.get(); }

  Rect device_bounds() const override { return device_; }
  Resolution resolution() const override { return resolution_; }

  void restore_state() override;
  void intersect_clip_region(const Region& region) override;

  void line_to(Point p) override;
  void polyline(std::span<const Point> points) override;
  void rectangle(const Rect& rect) override;
  void rectangles(std::span<const Rect> rects) override;
  void fill_rect(const Rect& rect) override;
  void ellipse(const Rect& rect) override;
  void round_rect(const Rect& rect, int corner_width, int corner_height) override;
  void polygon(std::span<const Point> points) override;
  // Raster targets only (bitmaps and image surfaces); elsewhere nothing happens.
  void flood_fill(Point start, Color color, FloodFillType type) override;
  void text_out(Point origin, std::string_view text, const TextOutParams& params = {}) override;
  void stretch_draw(const Rect& dest, const Bitmap& bitmap) override;

 private:
  struct Box {
    double left, top, right, bottom;
  };
  static std::unique_ptr<CairoCanvas> for_vector(CairoSurface surface, double width_pt,
                                                 double height_pt, Resolution resolution,
                                                 std::shared_ptr<FontResolver> fonts);
  void apply_clip();
  double pen_offset() const;
  // The path of a shape's outline for the current pen (see the rules above).
  Box outline_box(const Rect& rect) const;
  void stroke_path();
  bool set_brush_source();
  void fill_then_stroke();
  void set_color(uint32_t color);
  cairo_font_face_t* font_face(const std::string& file, int index, bool bold, bool italic);

  CairoContext cr_;
  CairoSurface surface_;  // when the canvas made it
  Rect device_;
  Resolution resolution_;
  bool finished_ = false;
  std::string path_;  // output file, for messages
  std::map<std::tuple<std::string, int, bool, bool>, CairoFontFace> faces_;
  CairoFontOptions font_options_;
};

}  // namespace zr
