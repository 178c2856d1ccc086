#pragma once
// The print dialog: the window over the TvtPrintForm model. The printer drop-down (the
// system's queues; choosing one selects it at once), Properties (paper and orientation of
// the chosen printer), the page range with its numbers entry, copies with up and down
// buttons, "Collate" with its picture, the which-pages drop-down, OK and Cancel. Every
// caption and every rule is the model's; the window keeps its widgets and the model in step
// and writes what the user left in the widgets into the model when OK is chosen.

#include <gtkmm.h>

#include "gui/dialog_parts.h"
#include "output/printing/print_dialog.h"

namespace zr::gui {

class PrintDialog : public Gtk::Window {
 public:
  // `form` must outlive the dialog.
  PrintDialog(Gtk::Window* parent, TvtPrintForm& form);
  // Shows the dialog modally; true when the user chose OK (the model holds the choices then).
  // Esc, Cancel and closing the window answer false; the caller cancels the model.
  bool Run();

 private:
  void build_printer_group();
  void build_pages_group();
  void build_copies_group();
  void show_properties();
  void draw_collate(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height);
  void accept();

  TvtPrintForm& form_;
  bool accepted_ = false;
  bool syncing_ = false;

  Gtk::Box box_{Gtk::Orientation::VERTICAL, 6};
  Gtk::Frame printer_group_, pages_group_, copies_group_;
  Gtk::Box printer_row_{Gtk::Orientation::HORIZONTAL, 6};
  Gtk::Label name_label_;
  Gtk::DropDown printers_;
  Gtk::Button properties_;
  Gtk::Box groups_{Gtk::Orientation::HORIZONTAL, 6};
  Gtk::Box pages_box_{Gtk::Orientation::VERTICAL, 2};
  Gtk::CheckButton all_, current_page_, pages_;
  Gtk::Box pages_row_{Gtk::Orientation::HORIZONTAL, 6};
  Gtk::Entry pages_edit_;
  Gtk::Label pages_hint_;
  Gtk::Box copies_box_{Gtk::Orientation::VERTICAL, 4};
  Gtk::Box copies_row_{Gtk::Orientation::HORIZONTAL, 4};
  Gtk::Label copies_label_;
  Gtk::Entry copies_edit_;
  Gtk::Button copies_up_, copies_down_;
  Gtk::Box collate_row_{Gtk::Orientation::HORIZONTAL, 6};
  Gtk::CheckButton collate_;
  Gtk::DrawingArea collate_picture_;
  Gtk::DropDown which_;
  DialogButtons buttons_;
};

}  // namespace zr::gui
