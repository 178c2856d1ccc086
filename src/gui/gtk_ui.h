#pragma once
// UiServices over GTK 4: message boxes, input boxes and the progress window as real windows.
// Modal boxes run the GLib main loop until they are answered, so the rest of the program
// (a preview window behind them) stays drawn; the progress window lets pending events run on
// every update, so a long job keeps the windows alive and its cancel button is heard.
//
// GTK must be started (start_gtk) before one is made. Texts come in and go out as ANSI bytes.

#include <gtkmm.h>

#include <atomic>
#include <memory>

#include "platform/ui_services.h"

namespace zr::gui {

// True when a display (X11 or Wayland) is there and GTK could be started on it; GTK is
// started then. Safe to call more than once.
bool start_gtk();

// Runs the events GTK has pending, without waiting.
void run_pending_events();

class GtkUi : public UiServices {
 public:
  GtkUi();
  ~GtkUi() override;

  // Message boxes and input boxes sit over this window when set (not owned).
  void set_parent(Gtk::Window* parent) { parent_ = parent; }

  int show_message(const std::string& text, const std::string& caption, int flags) override;
  std::optional<std::string> input_box(const std::string& caption, const std::string& prompt,
                                       const std::string& default_text) override;
  void show_progress_window(const std::string& caption, const std::string& label) override;
  void update_progress_window(int64_t maximum, int64_t position) override;
  void hide_progress_window() override;
  bool progress_cancelled() const override { return cancelled_; }
  // Cancels as the progress window's button does; safe from another thread (a time limit).
  void cancel_progress() { cancelled_ = true; }

 private:
  struct Progress;
  Gtk::Window* parent_ = nullptr;
  std::unique_ptr<Progress> progress_;
  std::atomic<bool> cancelled_ = false;
};

// Runs `window` modally: shows it and turns the main loop until it is hidden.
void run_modal(Gtk::Window& window);

}  // namespace zr::gui
