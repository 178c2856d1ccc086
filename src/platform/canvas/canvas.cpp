#include "platform/canvas/canvas.h"

#include <algorithm>

namespace zr {

void Canvas::set_text_justification(int break_extra, int break_count) {
  if (break_extra <= 0 || break_count <= 0) break_extra = break_count = 0;
  state_.break_extra = break_extra;
  state_.break_count = break_count;
}

void Canvas::save_state() {
  saved_.push_back(state_);
}

void Canvas::restore_state() {
  if (saved_.empty()) return;
  state_ = std::move(saved_.back());
  saved_.pop_back();
}

void Canvas::intersect_clip_rect(const Rect& rect) {
  intersect_clip_region(Region(rect.normalized()));
}

void Canvas::intersect_clip_region(const Region& region) {
  if (state_.clip) {
    state_.clip->intersect(region);
  } else {
    state_.clip = region;
  }
}

bool Canvas::rect_visible(const Rect& rect) const {
  Rect on_device = rect.normalized().intersected(device_bounds());
  if (on_device.empty()) return false;
  return !state_.clip || state_.clip->intersects(on_device);
}

Rect Canvas::clip_box() const {
  Rect device = device_bounds();
  return state_.clip ? state_.clip->bounds().intersected(device) : device;
}

}  // namespace zr
