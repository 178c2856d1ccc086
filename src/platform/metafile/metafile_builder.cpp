#include "platform/metafile/metafile_builder.h"

namespace zr {

void MetafileBuilder::set_pen(const Pen& pen) {
  if (pen == state_.pen) return;
  state_.pen = pen;
  add(mf::SetPen{pen});
}

void MetafileBuilder::set_brush(const Brush& brush) {
  if (brush == state_.brush) return;
  state_.brush = brush;
  add(mf::SetBrush{brush});
}

void MetafileBuilder::set_font(const FontSelection& font) {
  if (font == state_.font) return;
  state_.font = font;
  add(mf::SetFont{font});
}

void MetafileBuilder::set_text_color(Color color) {
  if (color == state_.text_color) return;
  state_.text_color = color;
  add(mf::SetTextColor{color});
}

void MetafileBuilder::set_bk_mode(BkMode mode) {
  if (mode == state_.bk_mode) return;
  state_.bk_mode = mode;
  add(mf::SetBkMode{mode});
}

void MetafileBuilder::set_bk_color(Color color) {
  if (color == state_.bk_color) return;
  state_.bk_color = color;
  add(mf::SetBkColor{color});
}

void MetafileBuilder::save() {
  saved_.push_back(state_);
  add(mf::SaveState{});
}

void MetafileBuilder::restore(int64_t count) {
  for (; count > 0 && !saved_.empty(); --count) {
    state_ = saved_.back();
    saved_.pop_back();
    add(mf::RestoreState{});
  }
}

}  // namespace zr
