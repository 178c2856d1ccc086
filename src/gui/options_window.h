#pragma once
// OptionsWindow: the frame the export options windows are built in. It binds widgets to the
// fields of a model (every edit goes into the field at once), re-applies the model's enabling
// rules after each edit, and ends with the OK / Cancel row. The fields must outlive the
// window; widgets are owned by the window.

#include <gtkmm.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/dialog_parts.h"

namespace zr::gui {

class OptionsWindow : public Gtk::Window {
 public:
  OptionsWindow(Gtk::Window* parent, const std::string& caption, const std::string& ok_caption,
                const std::string& cancel_caption);

  // Where the window's content goes, above the buttons.
  Gtk::Box& body() { return body_; }

  // Widgets bound to a model field (ANSI text, a flag, an index into `items`).
  Gtk::CheckButton& check(const std::string& caption, bool& value);
  Gtk::Entry& entry(std::string& value);
  // An entry that keeps only the characters `accepts` lets through.
  Gtk::Entry& filtered_entry(std::string& value, bool (*accepts)(char));
  Gtk::DropDown& drop_down(const std::vector<std::string>& items, int& value);

  // A group box; its content box is returned.
  Gtk::Box& group(Gtk::Box& into, const std::string& caption, Gtk::Frame** frame = nullptr);
  // A grid of "label  widget" rows.
  Gtk::Grid& form_grid(Gtk::Box& into);
  Gtk::Label& add_row(Gtk::Grid& grid, const std::string& caption, Gtk::Widget& widget);

  // `apply` runs after every edit (and once before showing): sensitivity and visibility.
  void rule(std::function<void()> apply);
  // The widget that has the focus when the window opens.
  void first_focus(Gtk::Widget& widget) { first_focus_ = &widget; }

  // Runs the rules; for an edit the bound widgets do not see themselves.
  void apply_rules();

  // Shows the window modally; true on OK.
  bool Run();

 private:
  Gtk::Box box_{Gtk::Orientation::VERTICAL, 8};
  Gtk::Box body_{Gtk::Orientation::VERTICAL, 6};
  DialogButtons buttons_;
  std::vector<std::function<void()>> rules_;
  Gtk::Widget* first_focus_ = nullptr;
  bool accepted_ = false;
  bool filtering_ = false;
};

}  // namespace zr::gui
