#include "viewer/link_handlers.h"

#include "engine/model/band_view.h"
#include "platform/text_lines.h"
#include "viewer/zr_viewer.h"

namespace zr {

namespace {

bool blank(const std::string& text) {
  return trim_blanks(text).empty();
}

bool is_band(const TvtView& view) {
  return dynamic_cast<const TvtBandView*>(&view) != nullptr;
}

}  // namespace

std::string resolve_link_address(const std::string& site_root, const std::string& text) {
  if (text.find("://") != std::string::npos) return text;
  return site_root + text;
}

void ObjectClick(TzrViewer& viewer, TvtView& view) {
  if (!viewer.Window || is_band(view)) return;
  if (blank(view.DrillFile) && blank(view.LinkUrl)) return;
  if (!blank(view.DrillFile)) {
    // Copies: the drill-down run reloads the form, which destroys `view`.
    const std::string drill_file = view.DrillFile;
    const std::string drill_data = view.DrillData;
    viewer.ReportFile = resolve_link_address(viewer.SiteRoot, drill_file);
    if (!blank(drill_data)) viewer.dataFile = resolve_link_address(viewer.SiteRoot, drill_data);
    viewer.PreviewReport();
    return;
  }
  const std::string address = resolve_link_address(viewer.SiteRoot, view.LinkUrl);
  if (viewer.LinkNewWindow == 1)
    viewer.Window->navigate(address);
  else
    viewer.Window->open(address);
}

void MouseOverObject(const TvtView* view, int& cursor) {
  if (view && !is_band(*view) && !blank(view->DrillFile)) cursor = crHandPoint;
}

}  // namespace zr
