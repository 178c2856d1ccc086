#include "viewer/progress_window.h"

namespace zr {

ProgressWindow::~ProgressWindow() {
  try {
    Hide();
  } catch (...) {
    // A destructor must not throw; the window goes with the UI anyway.
  }
}

void ProgressWindow::Show() {
  if (shown_) return;
  ui_.show_progress_window(kProgressCaption, kProgressLabel);
  shown_ = true;
}

void ProgressWindow::Update(int64_t maximum, int64_t position) {
  if (shown_) ui_.update_progress_window(maximum, position);
}

void ProgressWindow::Hide() {
  if (!shown_) return;
  shown_ = false;
  ui_.hide_progress_window();
}

}  // namespace zr
