#pragma once
// The drawing surface every view, preview and exporter draws on: a narrow interface shaped
// after the GDI device context the system was written against. It knows nothing of reports.
//
// Units are device pixels (see resolution()); there is no world transform. Text is ANSI code
// page bytes; a double-byte character is one character everywhere (advances, justification).
// A canvas keeps GDI-like state (pen, brush, font, text colour, background mode and colour,
// character extra spacing, justification, current position, clip region); save_state and
// restore_state bracket changes to all of it.
//
// Backends: CairoCanvas (raster bitmap, widget, PDF and PostScript pages), MeasuringCanvas
// (no output; fonts and extents only), TraceCanvas (one text line per call, for tests) and the
// metafile recorder. A canvas is used from one thread.
//
// Subclass contract: the state setters, move_to, line_to, save_state, restore_state and the
// clip calls have implementations here that keep state(); overrides must call them.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/canvas/brush.h"
#include "platform/canvas/color.h"
#include "platform/canvas/geometry.h"
#include "platform/canvas/pen.h"
#include "platform/fonts/font_metrics.h"
#include "platform/fonts/font_selection.h"

namespace zr {

class Bitmap;

// GDI's background mix modes (the numbers metafiles store).
enum class BkMode : int {
  Transparent = 1,
  Opaque = 2,
};

// GDI's flood fill types.
enum class FloodFillType : int {
  Border = 0,   // fill outwards until the given colour
  Surface = 1,  // fill the area that has the given colour
};

// Pixels per inch of the device.
struct Resolution {
  int x = 96;
  int y = 96;

  friend bool operator==(const Resolution&, const Resolution&) = default;
};

// The extra arguments of text_out (GDI's ExtTextOut).
struct TextOutParams {
  std::optional<Rect> rect = {};  // the rectangle the two options below refer to
  bool clipped = false;           // clip the text to `rect`
  bool opaque = false;            // fill `rect` with the background colour first (any bk mode)
  // Carried for recording; right-to-left reading changes nothing for Latin or Korean text.
  bool rtl_reading = false;
  // One advance per character (a double-byte character is one), in device pixels along the
  // baseline. When given they replace the font's advances, the character extra spacing and
  // the justification; missing entries fall back to the font's advances.
  std::span<const int> advances = {};
};

struct CanvasState {
  Pen pen;
  Brush brush;
  // The font's colour is the text colour: set it with set_text_color.
  FontSelection font;
  Color text_color = kBlack;
  BkMode bk_mode = BkMode::Opaque;
  Color bk_color = kWhite;
  int char_extra = 0;  // pixels added after every character
  // Justification: break_extra pixels shared among break_count break characters (spaces) of
  // each text_out and text_extent; the first (break_extra mod break_count) breaks get one
  // more. A break_count of 0 turns it off.
  int break_extra = 0;
  int break_count = 0;
  Point position;              // for line_to
  std::optional<Region> clip;  // none = the whole device

  friend bool operator==(const CanvasState&, const CanvasState&) = default;
};

class Canvas {
 public:
  Canvas() = default;
  virtual ~Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  const CanvasState& state() const { return state_; }

  // --- State ---
  virtual void set_pen(const Pen& pen) { state_.pen = pen; }
  virtual void set_brush(const Brush& brush) { state_.brush = brush; }
  virtual void set_font(const FontSelection& font) { state_.font = font; }
  virtual void set_text_color(Color color) { state_.text_color = color; }
  virtual void set_bk_mode(BkMode mode) { state_.bk_mode = mode; }
  virtual void set_bk_color(Color color) { state_.bk_color = color; }
  virtual void set_text_char_extra(int extra) { state_.char_extra = extra; }
  // A negative count or extra is taken as 0 (off).
  virtual void set_text_justification(int break_extra, int break_count);

  // Pushes the whole state; restore_state pops it (without a matching save it does nothing).
  virtual void save_state();
  virtual void restore_state();
  int saved_state_count() const { return static_cast<int>(saved_.size()); }

  // --- Clipping (device pixels) ---
  virtual void intersect_clip_rect(const Rect& rect);
  virtual void intersect_clip_region(const Region& region);
  // Whether any pixel of the rectangle lies in the clip region and on the device.
  bool rect_visible(const Rect& rect) const;
  // The bounds of what may be painted: the clip region's bounds within the device.
  Rect clip_box() const;
  // The device's own extent: the bitmap or page, or a large rectangle where there is none.
  virtual Rect device_bounds() const = 0;
  virtual Resolution resolution() const = 0;

  // --- Lines: the current pen; like GDI, the end point itself is not drawn ---
  virtual void move_to(Point p) { state_.position = p; }
  virtual void line_to(Point p) { state_.position = p; }
  void line(Point from, Point to) {
    move_to(from);
    line_to(to);
  }
  virtual void polyline(std::span<const Point> points) = 0;

  // --- Areas: outlined with the pen, filled with the brush (GDI's rules: the outline lies
  // inside right/bottom-exclusive bounds; corners may come in any order) ---
  virtual void rectangle(const Rect& rect) = 0;
  // Several rectangles in the same pen and brush, all filled and then all outlined (the same
  // picture as one by one where they do not overlap). A vector device draws them as one
  // figure: a PDF writer spends far longer on a figure than on its parts.
  virtual void rectangles(std::span<const Rect> rects) {
    for (const Rect& rect : rects) rectangle(rect);
  }
  // The brush only, over the whole rectangle.
  virtual void fill_rect(const Rect& rect) = 0;
  virtual void ellipse(const Rect& rect) = 0;
  // Corners rounded with an ellipse of corner_width x corner_height.
  virtual void round_rect(const Rect& rect, int corner_width, int corner_height) = 0;
  // Closed by a line back to the first point; alternate filling.
  virtual void polygon(std::span<const Point> points) = 0;
  // Fills with the brush from `start`; only raster devices can: elsewhere it does nothing.
  virtual void flood_fill(Point start, Color color, FloodFillType type) = 0;

  // --- Text: the current font, text colour and background ---
  // `origin` is the top-left corner of the first character cell; with an escapement the text
  // turns counter-clockwise about it. In opaque background mode the text's cell box is
  // filled with the background colour.
  virtual void text_out(Point origin, std::string_view text, const TextOutParams& params = {}) = 0;
  // Width: the sum of the advances with character extra spacing and justification, as
  // text_out places the characters; height: the font's cell height.
  virtual Size text_extent(std::string_view text) const = 0;
  virtual FontMetrics text_metrics() const = 0;

  // --- Pictures ---
  // Scales the bitmap into `dest` and blends it (premultiplied alpha) over what is there.
  virtual void stretch_draw(const Rect& dest, const Bitmap& bitmap) = 0;

 protected:
  // For backends that change the clip or state beyond the calls above.
  CanvasState& mutable_state() { return state_; }

 private:
  CanvasState state_;
  std::vector<CanvasState> saved_;
};

// Saves the canvas state now and restores it when leaving the scope.
class CanvasStateSaver {
 public:
  explicit CanvasStateSaver(Canvas& canvas) : canvas_(canvas) { canvas_.save_state(); }
  ~CanvasStateSaver() { canvas_.restore_state(); }
  CanvasStateSaver(const CanvasStateSaver&) = delete;
  CanvasStateSaver& operator=(const CanvasStateSaver&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace zr
