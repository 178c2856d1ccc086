#pragma once
// Clicks and mouse movement over linked objects of the shown report. A view's DrillFile (a
// report form) with its DrillData (a data page) reloads the control with that report; its
// LinkUrl opens in the host page's window. Addresses without "://" are taken relative to the
// host page's SiteRoot. Without a host window links are inert.

#include <string>
#include <string_view>

#include "engine/model/view.h"

namespace zr {

class TzrViewer;

// The cursor the preview shows over objects that drill down (crHandPoint).
inline constexpr int crHandPoint = -21;

// `text` as it is when it contains "://", else SiteRoot + `text` (untrimmed).
std::string resolve_link_address(const std::string& site_root, const std::string& text);

// A click on `view`: drill-down (ReportFile, dataFile, then PreviewReport, whose failure is
// raised) or the link (navigate when LinkNewWindow is 1, else open a new window); nothing
// for band views, blank links or no host window. Host window failures are raised.
void ObjectClick(TzrViewer& viewer, TvtView& view);

// The hand cursor over a non-band view whose DrillFile is not blank; `cursor` unchanged
// otherwise.
void MouseOverObject(const TvtView* view, int& cursor);

}  // namespace zr
