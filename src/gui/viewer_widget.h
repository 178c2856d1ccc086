#pragma once
// ZrViewerWidget: the viewer control as a GTK 4 widget, the way a web page hosts the control.
// It holds one TzrViewer (with its engine, HTTP client and runner) and the embedded preview
// panel `Previews`: with InHtml "1" PreviewReport shows the report inside the widget (with the
// toolbar, coloured by ColorHeader and ColorHeaderLine); otherwise it opens the preview window
// and returns when that is closed. Messages, input boxes and the progress window are GTK
// windows over the widget's window.
//
// One widget per process (the engine state is process-wide). GTK must be started.

#include <gtkmm.h>

#include <memory>

#include "gui/gtk_ui.h"
#include "gui/preview_window.h"
#include "viewer/viewer_host.h"

namespace zr::gui {

class ZrViewerWidget : public Gtk::Box {
 public:
  explicit ZrViewerWidget(ViewerOptions options = {});
  ~ZrViewerWidget() override;

  // Properties and the other methods go straight to the control.
  TzrViewer& viewer() { return session_->viewer(); }
  // PreviewReport of the control, then showing its pages as InHtml says.
  void PreviewReport();
  PreviewPanel& Previews() { return panel_; }

 private:
  GtkUi ui_;
  std::unique_ptr<ViewerSession> session_;
  PreviewPanel panel_;
};

}  // namespace zr::gui
