#include "gui/gtk_ui.h"

#include <gtkmm/init.h>

#include <algorithm>
#include <cstdlib>

#include "platform/codepage.h"

namespace zr::gui {

namespace {

Glib::ustring utf8(const std::string& ansi) {
  return ansi_to_utf8(ansi);
}

const char* button_label(int answer) {
  switch (answer) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "Cancel";
    case IDABORT:
      return "Abort";
    case IDRETRY:
      return "Retry";
    case IDIGNORE:
      return "Ignore";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
    default:
      return "OK";
  }
}

}  // namespace

bool start_gtk() {
  static int started = -1;
  if (started < 0) {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool display = (x11 && *x11) || (wayland && *wayland);
    started = display && gtk_init_check() ? 1 : 0;
    if (started) Gtk::init_gtkmm_internals();
  }
  return started == 1;
}

void run_pending_events() {
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, false);
}

void run_modal(Gtk::Window& window) {
  window.set_modal(true);
  window.present();
  while (window.get_visible()) g_main_context_iteration(nullptr, true);
}

struct GtkUi::Progress {
  Gtk::Window window;
  Gtk::Box box{Gtk::Orientation::VERTICAL, 4};
  Gtk::Label label;
  Gtk::ProgressBar bar;
  Gtk::Button cancel{"Cancel"};
};

GtkUi::GtkUi() = default;
GtkUi::~GtkUi() = default;

int GtkUi::show_message(const std::string& text, const std::string& caption, int flags) {
  Gtk::Window dialog;
  dialog.set_title(utf8(caption));
  dialog.set_resizable(false);
  if (parent_) dialog.set_transient_for(*parent_);
  Gtk::Box box(Gtk::Orientation::VERTICAL, 12);
  box.set_margin(16);
  Gtk::Label label(utf8(text));
  label.set_wrap(true);
  label.set_max_width_chars(60);
  box.append(label);
  Gtk::Box buttons(Gtk::Orientation::HORIZONTAL, 8);
  buttons.set_halign(Gtk::Align::END);
  const std::vector<int> answers = message_box_buttons(flags);
  int answer = default_message_box_answer(flags);
  const int fallback = answers.size() == 1 ? answers[0] : IDCANCEL;
  std::vector<std::unique_ptr<Gtk::Button>> widgets;
  for (int choice : answers) {
    auto button = std::make_unique<Gtk::Button>(button_label(choice));
    button->signal_clicked().connect([&dialog, &answer, choice] {
      answer = choice;
      dialog.hide();
    });
    if (choice == default_message_box_answer(flags)) dialog.set_default_widget(*button);
    buttons.append(*button);
    widgets.push_back(std::move(button));
  }
  box.append(buttons);
  dialog.set_child(box);
  dialog.signal_close_request().connect(
      [&answer, fallback] {
        answer = fallback;
        return false;
      },
      false);
  run_modal(dialog);
  return answer;
}

std::optional<std::string> GtkUi::input_box(const std::string& caption, const std::string& prompt,
                                            const std::string& default_text) {
  Gtk::Window dialog;
  dialog.set_title(utf8(caption));
  if (parent_) dialog.set_transient_for(*parent_);
  Gtk::Box box(Gtk::Orientation::VERTICAL, 8);
  box.set_margin(12);
  Gtk::Label label(utf8(prompt));
  label.set_halign(Gtk::Align::START);
  Gtk::Entry entry;
  entry.set_text(utf8(default_text));
  entry.set_activates_default(true);
  Gtk::Box buttons(Gtk::Orientation::HORIZONTAL, 8);
  buttons.set_halign(Gtk::Align::END);
  Gtk::Button ok("OK"), cancel("Cancel");
  bool accepted = false;
  ok.signal_clicked().connect([&] {
    accepted = true;
    dialog.hide();
  });
  cancel.signal_clicked().connect([&] { dialog.hide(); });
  buttons.append(ok);
  buttons.append(cancel);
  box.append(label);
  box.append(entry);
  box.append(buttons);
  dialog.set_child(box);
  dialog.set_default_widget(ok);
  run_modal(dialog);
  if (!accepted) return std::nullopt;
  return utf8_to_ansi(entry.get_text().raw());
}

void GtkUi::show_progress_window(const std::string& caption, const std::string& label) {
  if (!progress_) {
    progress_ = std::make_unique<Progress>();
    Progress& p = *progress_;
    p.window.set_default_size(259, 42);
    p.window.set_resizable(false);
    p.box.set_margin(6);
    p.label.set_halign(Gtk::Align::START);
    p.box.append(p.label);
    p.box.append(p.bar);
    p.cancel.set_halign(Gtk::Align::END);
    p.cancel.signal_clicked().connect([this] { cancelled_ = true; });
    p.box.append(p.cancel);
    p.window.set_child(p.box);
    p.window.signal_close_request().connect(
        [this] {
          cancelled_ = true;
          return true;
        },
        false);
    if (parent_) p.window.set_transient_for(*parent_);
  }
  cancelled_ = false;
  progress_->window.set_title(utf8(caption));
  progress_->label.set_text(utf8(label));
  progress_->bar.set_fraction(0);
  progress_->window.present();
  run_pending_events();
}

void GtkUi::update_progress_window(int64_t maximum, int64_t position) {
  if (!progress_) return;
  progress_->bar.set_fraction(maximum > 0 ? std::clamp(double(position) / double(maximum), 0.0, 1.0)
                                          : 0.0);
  run_pending_events();
}

void GtkUi::hide_progress_window() {
  if (!progress_) return;
  progress_->window.hide();
  progress_.reset();
  run_pending_events();
}

}  // namespace zr::gui
