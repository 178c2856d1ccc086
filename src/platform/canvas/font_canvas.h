#pragma once
// The part every real canvas shares: fonts from a FontResolver and text measured with them.
// Backends derive from it and add their output.

#include <memory>

#include "platform/canvas/canvas.h"
#include "platform/canvas/text_layout.h"

namespace zr {

class Font;
class FontResolver;

class FontCanvas : public Canvas {
 public:
  // `fonts` is shared with whoever else measures text; null makes a resolver for the default
  // code page. Raises ZorelError when fontconfig or FreeType cannot start.
  explicit FontCanvas(std::shared_ptr<FontResolver> fonts);
  ~FontCanvas() override;

  // Text calls raise IoError when the font file chosen for the current font cannot be
  // opened (FontResolver::font).
  Size text_extent(std::string_view text) const override;
  FontMetrics text_metrics() const override;

  // The resolved font of the current state; valid until the font is changed.
  const Font& current_font() const;
  const std::shared_ptr<FontResolver>& fonts() const { return fonts_; }

 protected:
  TextLayout layout(std::string_view text, std::span<const int> advances = {}) const;

 private:
  std::shared_ptr<FontResolver> fonts_;
  mutable std::shared_ptr<const Font> font_;  // for font_selection_
  mutable FontSelection font_selection_;
};

// The off-screen canvas the engine measures text on: state and fonts, no output. Drawing
// calls do nothing.
class MeasuringCanvas : public FontCanvas {
 public:
  explicit MeasuringCanvas(std::shared_ptr<FontResolver> fonts = nullptr,
                           Resolution resolution = {});

  Rect device_bounds() const override;
  Resolution resolution() const override { return resolution_; }

  void polyline(std::span<const Point>) override {}
  void rectangle(const Rect&) override {}
  void fill_rect(const Rect&) override {}
  void ellipse(const Rect&) override {}
  void round_rect(const Rect&, int, int) override {}
  void polygon(std::span<const Point>) override {}
  void flood_fill(Point, Color, FloodFillType) override {}
  void text_out(Point, std::string_view, const TextOutParams& = {}) override {}
  void stretch_draw(const Rect&, const Bitmap&) override {}

 private:
  Resolution resolution_;
};

}  // namespace zr
