#pragma once
// The preview of prepared pages without a toolkit: the pages it holds, the current page, the
// zoom, the layout of the page rectangles, the scroll bars, the page label, the key table and
// the mouse rules. A window shell feeds it the box size and input events and draws what it
// says onto a Canvas; tests drive it directly.
//
// While attached the preview shows the report's own prepared pages; ReleasePages detaches
// them around printing, exporting and saving, and ConnectReport attaches them again.
// Single-threaded, like the engine; the engine state (TvtGlobals) must be installed.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/model/prepared_pages.h"
#include "output/preview/preview_search.h"
#include "platform/canvas/geometry.h"

namespace zr {

class Canvas;
class TvtReport;

// Zoom modes.
inline constexpr int kZoomPercent = 0;
inline constexpr int kZoomPageWidth = 1;
inline constexpr int kZoomWholePage = 2;
inline constexpr int kZoomTwoPages = 3;

// The zoom the user chose last, shared by every preview of the process: a new preview opens
// with it.
struct PreviewZoomMemory {
  double LastScale = 1.0;
  int LastZoomMode = kZoomPercent;
};
PreviewZoomMemory& process_zoom_memory();

// The items of the zoom menu, in menu order: tag and caption. Tags 1-3 are the modes.
struct ZoomMenuItem {
  int tag;
  const char* caption;
};
const std::vector<ZoomMenuItem>& zoom_menu_items();

// The colour of the box around the pages (RGB 255,253,234).
inline constexpr int32_t kPreviewBackground = 15400447;

struct PreviewScrollBar {
  static constexpr int SmallChange = 10;
  static constexpr int LargeChange = 200;
  int Position = 0;
  int Max = 0;  // 0: the content fits and the bar is disabled
  bool Enabled() const { return Max > 0; }
};

// The keys the preview knows; letters are given as their upper-case character.
enum class PreviewKey {
  Up,
  Down,
  Left,
  Right,
  PageUp,
  PageDown,
  Home,
  End,
  Space,
  Escape,
  F3,
  Char
};

// What a key or button asks of the shell, beyond what the model did itself.
enum class PreviewAction { None, ZoomMenu, Close, Open, Save, Print, FindDialog };

struct PreviewKeyResult {
  bool handled = false;  // consumed: the shell passes it on to nobody
  PreviewAction action = PreviewAction::None;
};

class TvtPreviewModel {
 public:
  // `zoom` is not owned and must outlive the model (tests pass their own).
  explicit TvtPreviewModel(PreviewZoomMemory& zoom = process_zoom_memory());
  ~TvtPreviewModel();
  TvtPreviewModel(const TvtPreviewModel&) = delete;
  TvtPreviewModel& operator=(const TvtPreviewModel&) = delete;

  // ConnectReport: shows `report`'s prepared pages. The report must outlive the attachment.
  void ConnectReport(TvtReport& report);
  // ReleasePages: the pages are the report's alone again; nothing shown afterwards.
  void ReleasePages();
  // Connects `report` and starts at page 1 at the top with the remembered zoom.
  void ShowReport(TvtReport& report);
  // Frees the shown pages (the report is left with an empty list) and shows nothing.
  void Clear();

  bool HasPages() const { return pages_ && pages_->Count() > 0; }
  TvtReport* Report() const { return report_; }
  TvtEMFPages* EMFPages() const { return pages_; }
  int PageCount() const { return pages_ ? pages_->Count() : 0; }

  // The size of the paint box in screen pixels; re-runs the layout.
  void SetBoxSize(int width, int height);
  int BoxWidth() const { return box_width_; }
  int BoxHeight() const { return box_height_; }

  void RedrawAll(bool reset);
  void RecalcLayout();
  // Zoom menu choice: tags 1-3 select the modes, any other tag a percentage.
  void ZoomMenuClick(int tag);
  void SetZoom(double percent);
  void PageWidth();

  // Scroll bar changes, as the user or the program moves a bar (clamped to 0..Max). The
  // vertical bar also makes the page at the top of the box current.
  void SetVerticalPosition(int position);
  void SetHorizontalPosition(int position);
  void ScrollToCurPage();
  void ShowPageNum();
  void PgUpClick();
  void PgDownClick();
  // `notches` > 0 scrolls down.
  void MouseWheel(int notches);

  PreviewKeyResult KeyDown(PreviewKey key, bool ctrl, char character = 0);

  // Mouse on the paint box, in box pixels. Left button down: a click on a linked object is
  // reported to the report (true), else dragging starts.
  bool MouseDown(Point point);
  // Returns the cursor to show (0 the default, crHandPoint over a drill-down).
  int MouseMove(Point point);
  void MouseUp() { dragging_ = false; }
  void DoubleClick();

  // Paints the box: background, page frames with their shadows, the pages at the zoom.
  // `clip` is the part of the box to repaint (box pixels).
  void Paint(Canvas& canvas, const Rect& clip);

  // Open and save. The open dialog's filter; the save dialog's filters (first the prepared
  // report, then every registered export filter), as "description|mask" pairs.
  static std::string OpenFilter();
  static std::vector<std::pair<std::string, std::string>> SaveFilters();
  // Loads a prepared report in place of the shown pages. A file that cannot be read, or is
  // damaged anywhere, raises and leaves the shown pages as they were.
  void LoadPrepared(const std::string& file_name);
  // Saves by the save dialog's 1-based filter index: 1 the prepared report (extension forced
  // to ".zrw"), n the export filter in registry row n - 2 (its extension replaces the
  // file's). Returns the file written; raises on failure (the pages stay shown).
  std::string SaveByFilterIndex(int filter_index, const std::string& file_name);

  // The search (Ctrl+F accepted, F3).
  void FindAccepted(const std::string& text, bool case_sensitive, bool from_first_page);
  void FindNextKey();
  TvtPreviewSearch& Search() { return search_; }

  // State, readable by the shell and tests.
  int CurPage = 1;
  int ScrollOffsetX = 0, ScrollOffsetY = 0;
  double Scale = 1.0;
  int ZoomMode = kZoomPercent;
  bool LayoutReady = false;
  int WheelStep = 1;
  bool PrintEnabled = false;  // PrintBtn: a printer is there to print on
  PreviewScrollBar VScroll, HScroll;
  std::string PageLabel;  // "Page 3/12"; empty without pages
  std::string ZoomLabel;  // "100%"
  int CheckedZoomTag = 100;
  int PageUnderMouse = 0;  // 1-based page of the last left click
  bool Dragging() const { return dragging_; }

  // Fired whenever the page label is refreshed with pages shown.
  std::function<void(int page)> OnPageChanged;

 private:
  friend class TvtPreviewSearch;
  Rect PreviewRect(int index) const;
  // The page under a box point and that point in page pixels; nullopt between pages.
  std::optional<std::pair<int, Point>> PageAt(Point box_point) const;
  void SetVerticalBar(int position, bool follow_page);

  PreviewZoomMemory& zoom_;
  TvtReport* report_ = nullptr;
  TvtEMFPages* pages_ = nullptr;  // the report's, while attached
  int box_width_ = 629, box_height_ = 463;
  bool dragging_ = false;
  bool ignore_next_down_ = false;
  Point last_mouse_;
  TvtPreviewSearch search_;
};

}  // namespace zr
