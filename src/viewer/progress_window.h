#pragma once
// The control's progress window ("상태"): shown while a load downloads the form and waits for
// the data page. At most one is shown per control; the window itself is drawn by UiServices.

#include <cstdint>

#include "platform/ui_services.h"

namespace zr {

// "상태" and "데이타를 읽는중 입니다." in code page 949.
inline constexpr const char* kProgressCaption = "\xBB\xF3\xC5\xC2";
inline constexpr const char* kProgressLabel =
    "\xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC0\xD0\xB4\xC2\xC1\xDF \xC0\xD4\xB4\xCF\xB4\xD9.";

class ProgressWindow {
 public:
  // `ui` is not owned and must outlive this object.
  explicit ProgressWindow(UiServices& ui) : ui_(ui) {}
  ~ProgressWindow();  // hides a window that is still shown
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows the window modelessly; a second Show while it is shown keeps the one window.
  void Show();
  // Sets the bar's maximum and position (and lets pending window events run); does nothing
  // when no window is shown.
  void Update(int64_t maximum, int64_t position);
  // Hides the window; does nothing when none is shown.
  void Hide();

  bool shown() const { return shown_; }

 private:
  UiServices& ui_;
  bool shown_ = false;
};

}  // namespace zr
