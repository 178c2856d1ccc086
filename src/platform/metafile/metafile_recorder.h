#pragma once
// A canvas that draws nothing and records every call into a Metafile, as GDI's metafile
// device contexts do. Text is measured as every canvas measures it (FontCanvas); every text
// record also keeps the advances it was laid out with and its bounds.
//
// Usage: draw on the recorder, then take the metafile with finish(). The recorder keeps the
// canvas state like any canvas; clip calls are recorded and also narrow rect_visible().

#include <memory>

#include "platform/canvas/font_canvas.h"
#include "platform/metafile/metafile.h"

namespace zr {

class MetafileRecorder : public FontCanvas {
 public:
  // Records for a drawing of `frame` (device pixels at `resolution`). `fonts` as for
  // FontCanvas: shared, or null for a resolver of the default code page.
  MetafileRecorder(const Rect& frame, Resolution resolution,
                   std::shared_ptr<FontResolver> fonts = nullptr);

  // The records so far; the recorder can go on recording.
  const Metafile& metafile() const { return metafile_; }
  // Hands the metafile over and starts an empty one of the same frame.
  Metafile finish();

  void set_pen(const Pen& pen) override;
  void set_brush(const Brush& brush) override;
  void set_font(const FontSelection& font) override;
  void set_text_color(Color color) override;
  void set_bk_mode(BkMode mode) override;
  void set_bk_color(Color color) override;
  void set_text_char_extra(int extra) override;
  void set_text_justification(int break_extra, int break_count) override;
  void save_state() override;
  void restore_state() override;
  void intersect_clip_rect(const Rect& rect) override;
  void intersect_clip_region(const Region& region) override;
  Rect device_bounds() const override { return metafile_.frame(); }
  Resolution resolution() const override { return metafile_.resolution(); }

  void move_to(Point p) override;
  void line_to(Point p) override;
  void polyline(std::span<const Point> points) override;
  void rectangle(const Rect& rect) override;
  void fill_rect(const Rect& rect) override;
  void ellipse(const Rect& rect) override;
  void round_rect(const Rect& rect, int corner_width, int corner_height) override;
  void polygon(std::span<const Point> points) override;
  void flood_fill(Point start, Color color, FloodFillType type) override;
  void text_out(Point origin, std::string_view text, const TextOutParams& params = {}) override;
  void stretch_draw(const Rect& dest, const Bitmap& bitmap) override;

 private:
  Metafile metafile_;
};

}  // namespace zr
