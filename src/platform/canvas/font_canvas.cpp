#include "platform/canvas/font_canvas.h"

#include <limits>

#include "platform/fonts/font.h"
#include "platform/fonts/font_resolver.h"

namespace zr {

FontCanvas::FontCanvas(std::shared_ptr<FontResolver> fonts)
    : fonts_(fonts ? std::move(fonts) : std::make_shared<FontResolver>()) {}

FontCanvas::~FontCanvas() = default;

const Font& FontCanvas::current_font() const {
  if (!font_ || !(font_selection_ == state().font)) {
    font_ = fonts_->font(state().font);
    font_selection_ = state().font;
  }
  return *font_;
}

TextLayout FontCanvas::layout(std::string_view text, std::span<const int> advances) const {
  return layout_text(current_font(), text, state(), advances);
}

Size FontCanvas::text_extent(std::string_view text) const {
  const Font& font = current_font();
  return {layout_width(font, text, state()), font.metrics().height};
}

FontMetrics FontCanvas::text_metrics() const {
  return current_font().metrics();
}

MeasuringCanvas::MeasuringCanvas(std::shared_ptr<FontResolver> fonts, Resolution resolution)
    : FontCanvas(std::move(fonts)), resolution_(resolution) {}

Rect MeasuringCanvas::device_bounds() const {
  constexpr int kFar = std::numeric_limits<int>::max() / 4;
  return {-kFar, -kFar, kFar, kFar};
}

}  // namespace zr
