#include "gui/viewer_widget.h"

namespace zr::gui {

ZrViewerWidget::ZrViewerWidget(ViewerOptions options)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0),
      session_(MakeViewer(ui_, std::move(options))),
      panel_(ui_, PreviewOptions{}) {
  // Placed on a form, the preview scrolls three steps a notch.
  panel_.model().WheelStep = 3;
  panel_.set_vexpand(true);
  panel_.set_hexpand(true);
  append(panel_);
  panel_.OnObjectClicked = [this] {
    TvtReport& report = session_->runner().report();
    if (report.EMFPages.Count() > 0 && viewer().ShowsInControl()) panel_.ShowReport(report);
  };
  signal_realize().connect([this] { ui_.set_parent(dynamic_cast<Gtk::Window*>(get_root())); });
}

ZrViewerWidget::~ZrViewerWidget() {
  panel_.ReleasePages();
}

void ZrViewerWidget::PreviewReport() {
  TzrViewer& control = viewer();
  TvtReport& report = session_->runner().report();
  // The run empties the pages shown: the panel lets go of them first.
  panel_.ReleasePages();
  control.PreviewReport();
  const PreviewColors& colors = control.preview_colors();
  panel_.SetHeaderColors(colors.HeaderColor, colors.HeaderLineColor);
  if (report.EMFPages.Count() == 0) return;
  if (control.ShowsInControl()) {
    panel_.ShowReport(report);
    return;
  }
  PreviewOptions options;
  options.HeaderColor = colors.HeaderColor;
  options.HeaderLineColor = colors.HeaderLineColor;
  options.HistoryFolder = control.work_folder().history();
  options.RunLog = [&control] { return control.Log; };
  RunPreviewWindow(ui_, report, options);
  ui_.set_parent(dynamic_cast<Gtk::Window*>(get_root()));
}

}  // namespace zr::gui
