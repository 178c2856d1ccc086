#pragma once
// The find dialog: the text, "Case sensitive", and the origin (first page or current page).

#include <gtkmm.h>

#include <string>

#include "gui/dialog_parts.h"

namespace zr::gui {

class FindDialog : public Gtk::Window {
 public:
  explicit FindDialog(Gtk::Window* parent);
  // Shows the dialog modally; true when the user chose OK.
  bool Run();
  std::string Text() const;  // ANSI
  bool CaseSensitive() const { return case_sensitive_.get_active(); }
  bool FromFirstPage() const { return first_page_.get_active(); }

 private:
  bool accepted_ = false;
  Gtk::Box box_{Gtk::Orientation::VERTICAL, 6};
  Gtk::Label label_;
  Gtk::Entry edit_;
  Gtk::Frame options_, origin_;
  Gtk::CheckButton case_sensitive_, first_page_, current_page_;
  Gtk::Box origin_box_{Gtk::Orientation::VERTICAL, 2};
  DialogButtons buttons_;
};

}  // namespace zr::gui
