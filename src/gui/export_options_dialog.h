#pragma once
// The options windows of the export formats, over their models: TOxvtExportDialog with the
// parts its PDF, HTML and RTF forms add, TOxvtGraphicExportDialog with the bitmap and JPEG
// parts, and TOxvtXLSXExportDialog. The filter has given the model its values (Show) before
// a window opens; the window shows the model's captions and values, writes every edit into
// the model at once and follows the model's enabling rules, so the rules live in one place.
//
// Each Run... shows its window modally over `parent` (may be null) and answers 1 for OK and
// 0 for Cancel, Esc or closing the window; a result other than 1 cancels the export.

#include <gtkmm.h>

namespace zr {
class TOxvtExportDialog;
class TOxvtGraphicExportDialog;
class TOxvtXLSXExportDialog;
}  // namespace zr

namespace zr::gui {

// OK copies the values back into the filter (the model's OkClick).
int RunExportOptions(Gtk::Window* parent, TOxvtExportDialog& dialog);
// OK copies the values back into the filter (the model's OkClick).
int RunGraphicExportOptions(Gtk::Window* parent, TOxvtGraphicExportDialog& dialog);
// OK leaves the values in the model: the Excel filter copies them back itself on 1.
int RunXlsxExportOptions(Gtk::Window* parent, TOxvtXLSXExportDialog& dialog);

}  // namespace zr::gui
