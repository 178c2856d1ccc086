// A GTK 4 program that hosts the viewer control as a widget next to its own widgets, the way
// a web page hosts the control: an address field, a button that runs PreviewReport, and the
// report shown inside the widget (InHtml "1").
//
//   build/examples/gtk_host/zr_gtk_host [FORM-ADDRESS [DATA-ADDRESS]]
//
// Given a form address it shows the report as soon as the window is up.
#include <gtkmm.h>

#include <iostream>

#include "gui/gtk_ui.h"
#include "gui/viewer_widget.h"
#include "platform/codepage.h"

int main(int argc, char** argv) {
  if (!zr::gui::start_gtk()) {
    std::cerr << "zr_gtk_host: no display\n";
    return 1;
  }
  Gtk::Window window;
  window.set_title("Zorel host");
  window.set_default_size(900, 700);
  Gtk::Box column(Gtk::Orientation::VERTICAL, 4);
  Gtk::Box row(Gtk::Orientation::HORIZONTAL, 4);
  Gtk::Entry form, data;
  form.set_hexpand(true);
  data.set_hexpand(true);
  form.set_placeholder_text("report form address (.zrf)");
  data.set_placeholder_text("data page address");
  if (argc > 1) form.set_text(argv[1]);
  if (argc > 2) data.set_text(argv[2]);
  Gtk::Button show("Show");
  row.append(form);
  row.append(data);
  row.append(show);
  zr::gui::ZrViewerWidget control;
  control.set_vexpand(true);
  control.viewer().Set_InHtml("1");
  auto run = [&] {
    control.viewer().Set_ReportFile(zr::utf8_to_ansi(form.get_text().raw()));
    control.viewer().Set_dataFile(zr::utf8_to_ansi(data.get_text().raw()));
    control.PreviewReport();
    if (!control.viewer().Log.empty()) std::cerr << "Log: " << control.viewer().Log << "\n";
  };
  show.signal_clicked().connect(run);
  column.append(row);
  column.append(control);
  window.set_child(column);
  window.present();
  if (argc > 1) Glib::signal_timeout().connect_once(run, 100);
  while (window.get_visible()) g_main_context_iteration(nullptr, true);
  return 0;
}
