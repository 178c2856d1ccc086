#pragma once
// ExportOptionsScope: while it lives, every registered export filter that has an options
// model shows it in a window over `parent` before it writes (its presenter is set and its
// ShowDialog switched on); when it goes, each filter gets back the presenter and the
// ShowDialog it had. The preview holds one around a save, so only a save the user starts
// there asks for options: the control's own exports (SaveImage, SendEMail) and headless runs
// keep the form's settings and never wait for a window.
//
// The filters must outlive the scope and stay registered while it lives.

#include <gtkmm.h>

#include <functional>
#include <vector>

namespace zr::gui {

class ExportOptionsScope {
 public:
  explicit ExportOptionsScope(Gtk::Window* parent);
  ~ExportOptionsScope();
  ExportOptionsScope(const ExportOptionsScope&) = delete;
  ExportOptionsScope& operator=(const ExportOptionsScope&) = delete;

 private:
  // Puts one filter back as it was.
  std::vector<std::function<void()>> restore_;
};

}  // namespace zr::gui
