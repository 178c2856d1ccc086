#pragma once
// The preview window "Zorel Preview": the toolbar (zoom button with its percentage, open,
// save/export, print, exit), the pages in a paint box with scroll bars, page buttons and the
// page label, the zoom menu, the open and save dialogs, the find dialog and the print dialog.
// Everything it shows and every rule of keys and mouse comes from TvtPreviewModel; the window only
// turns GTK events into model calls and draws the model through the Cairo canvas.
//
// The same panel serves the stand-alone window and the control widget (PreviewPanel); the
// window adds the keyboard, which the embedded panel does not have.

#include <gtkmm.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "output/preview/preview_model.h"

namespace zr {
class TvtReport;
}

namespace zr::gui {

class GtkUi;

struct PreviewOptions {
  int32_t HeaderColor = 10803944;     // toolbar
  int32_t HeaderLineColor = 4754333;  // the line under it
  bool ShowToolbar = true;
  // Offered as a place in the open dialog (the saved runs); empty: none.
  std::filesystem::path HistoryFolder;
  // The control's Log after a run: what a drill-down that showed nothing tells the user.
  std::function<std::string()> RunLog;
};

class PreviewPanel : public Gtk::Box {
 public:
  PreviewPanel(GtkUi& ui, PreviewOptions options);
  ~PreviewPanel() override;

  // Shows the report's prepared pages (taking them, as the model does) from page 1. The
  // print button is enabled when the system has a printer.
  void ShowReport(TvtReport& report);
  // Gives the pages back to the report.
  void ReleasePages();
  TvtPreviewModel& model() { return model_; }

  void SetHeaderColors(int32_t header, int32_t header_line);
  void SetShowToolbar(bool show);

  // The shell commands.
  void ZoomMenu(double x, double y, Gtk::Widget& relative_to);
  void OpenCommand();
  void SaveCommand();
  // The print dialog, then printing in the progress window; a change of printer prepares
  // the report again first. Errors (a page list or copies that are not numbers, a refused
  // job) are shown as a message.
  void PrintCommand();
  void FindCommand();
  // Called for Esc and the exit button (the stand-alone window closes).
  std::function<void()> OnClose;
  // After a click on an object: the click may have loaded another report (drill-down).
  std::function<void()> OnObjectClicked;

  // Key handling of the stand-alone window; true when the key was consumed.
  bool HandleKey(guint keyval, Gdk::ModifierType state);
  // Model state changed: bars, labels and the picture follow.
  void Refresh();

 private:
  void build_toolbar();
  void build_area();
  void on_draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height);
  void on_press(int n_press, double x, double y);
  void on_motion(double x, double y);
  bool on_scroll(double dx, double dy);
  void run_action(PreviewAction action);
  void show_error(const std::string& what, const std::exception& e);

  GtkUi& ui_;
  PreviewOptions options_;
  TvtPreviewModel model_;
  bool syncing_ = false;
  int last_cursor_ = 0;  // the cursor the last mouse move showed
  Glib::RefPtr<Gtk::CssProvider> css_;

  Gtk::Box toolbar_{Gtk::Orientation::HORIZONTAL, 0};
  Gtk::Button zoom_button_, load_button_, save_button_, print_button_, exit_button_;
  Gtk::Label zoom_label_;
  Gtk::Box top_line_;
  Gtk::Grid area_;
  Gtk::DrawingArea paint_box_;
  Glib::RefPtr<Gtk::Adjustment> v_adjustment_, h_adjustment_;
  Gtk::Scrollbar v_bar_, h_bar_;
  Gtk::Button page_up_, page_down_;
  Gtk::Box right_panel_{Gtk::Orientation::VERTICAL, 0};
  Gtk::Box bottom_panel_{Gtk::Orientation::HORIZONTAL, 0};
  Gtk::Label page_label_;
  Gtk::Popover zoom_popover_;
  Gtk::Box zoom_items_{Gtk::Orientation::VERTICAL, 0};
  std::vector<std::unique_ptr<Gtk::CheckButton>> zoom_checks_;
};

class PreviewWindow : public Gtk::Window {
 public:
  PreviewWindow(GtkUi& ui, PreviewOptions options);
  PreviewPanel& panel() { return panel_; }

 private:
  PreviewPanel panel_;
};

// Shows `report`'s prepared pages in a preview window and returns when the window is closed;
// the pages are back with the report then. `after_click` runs after every click on an
// object (a drill-down may have prepared another report: the window shows it).
void RunPreviewWindow(GtkUi& ui, TvtReport& report, PreviewOptions options);

}  // namespace zr::gui
