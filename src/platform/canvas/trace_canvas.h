#pragma once
// A canvas that writes one text line per drawing call, for golden tests of whatever draws:
//
//   line 0 0 10 0 pen=#000000/1/solid
//   rectangle 10 10 50 30 pen=#000000/1/solid brush=#FFFFFF
//   text_out 5 5 "Total" font="Arial"/-12/b color=#000000 bk=transparent
//
// Each line carries the state the call draws with, and " clip=l,t,r,b;..." while a clip
// region is set; state changes alone write nothing, so scenes that draw the same give the
// same trace however they set their state. Text is written as UTF-8 with " and \ escaped.
// Text is measured with real fonts, so layouts traced here are those drawn elsewhere.

#include <memory>
#include <string>

#include "platform/canvas/font_canvas.h"

namespace zr {

class TraceCanvas : public FontCanvas {
 public:
  // `device` is the page or bitmap the trace stands for.
  explicit TraceCanvas(std::shared_ptr<FontResolver> fonts = nullptr,
                       Rect device = {0, 0, 32767, 32767}, Resolution resolution = {});

  // Everything written so far.
  const std::string& trace() const { return trace_; }
  void clear() { trace_.clear(); }

  Rect device_bounds() const override { return device_; }
  Resolution resolution() const override { return resolution_; }

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
  void write(const std::string& call);

  Rect device_;
  Resolution resolution_;
  std::string trace_;
};

}  // namespace zr
