#include "gui/export_options_scope.h"

#include <utility>

#include "engine/report/tvt_globals.h"
#include "gui/export_options_dialog.h"
#include "output/document/document_export.h"
#include "output/image/graphic_export.h"
#include "output/xlsx/xlsx_export.h"

namespace zr::gui {

namespace {

// Sets `filter`'s presenter to `present` over `parent` and switches its dialog on; the
// returned function undoes both.
template <typename Filter, typename Model>
std::function<void()> install(Filter& filter, Gtk::Window* parent,
                              int (*present)(Gtk::Window*, Model&)) {
  auto previous = std::exchange(
      filter.DialogPresenter, [parent, present](Model& dialog) { return present(parent, dialog); });
  const bool show_dialog = std::exchange(filter.ShowDialog, true);
  return [&filter, previous = std::move(previous), show_dialog]() mutable {
    filter.DialogPresenter = std::move(previous);
    filter.ShowDialog = show_dialog;
  };
}

}  // namespace

ExportOptionsScope::ExportOptionsScope(Gtk::Window* parent) {
  const TvtExportFilters& registry = TvtGlobals::Get().export_filters;
  for (int i = 0; i < registry.Count(); ++i) {
    TvtExportFilter* filter = registry.Items(i).Filter;
    if (auto* document = dynamic_cast<TOxvtExportFilter*>(filter))
      restore_.push_back(install(*document, parent, &RunExportOptions));
    else if (auto* graphic = dynamic_cast<TOxvtGraphicExport*>(filter))
      restore_.push_back(install(*graphic, parent, &RunGraphicExportOptions));
    else if (auto* xlsx = dynamic_cast<TOxvtXLSXExport*>(filter))
      restore_.push_back(install(*xlsx, parent, &RunXlsxExportOptions));
  }
}

ExportOptionsScope::~ExportOptionsScope() {
  for (auto& restore : restore_) restore();
}

}  // namespace zr::gui
