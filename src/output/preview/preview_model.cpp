#include "output/preview/preview_model.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/locale/locale_strings.h"
#include "engine/model/export_filter.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/preview/preview_texts.h"
#include "platform/canvas/canvas.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

namespace {

int round_int(double value) {
  return round_half_even_to_int(value);
}

// Page sizes come from files: a page without a paper size still lays out, one pixel wide.
int paper_width(const TvtPreparedPage& page) {
  return std::max(page.PrnInfo.page_width, 1);
}
int paper_height(const TvtPreparedPage& page) {
  return std::max(page.PrnInfo.page_height, 1);
}

// Restores painting when a command that suppressed it ends, also by an exception.
class LayoutSuspended {
 public:
  explicit LayoutSuspended(bool& ready) : ready_(ready) { ready_ = false; }
  ~LayoutSuspended() { ready_ = true; }
  LayoutSuspended(const LayoutSuspended&) = delete;
  LayoutSuspended& operator=(const LayoutSuspended&) = delete;

 private:
  bool& ready_;
};

}  // namespace

PreviewZoomMemory& process_zoom_memory() {
  static PreviewZoomMemory memory;
  return memory;
}

const std::vector<ZoomMenuItem>& zoom_menu_items() {
  static const std::vector<ZoomMenuItem> items = {
      {200, "200%"},
      {150, "150%"},
      {100, "100%"},
      {75, "75%"},
      {50, "50%"},
      {25, "25%"},
      {10, "10%"},
      {kZoomPageWidth, "Page width"},
      {kZoomWholePage, "Whole page"},
      {kZoomTwoPages, "Two pages"},
  };
  return items;
}

TvtPreviewModel::TvtPreviewModel(PreviewZoomMemory& zoom) : zoom_(zoom) {}

TvtPreviewModel::~TvtPreviewModel() = default;

void TvtPreviewModel::ConnectReport(TvtReport& report) {
  report_ = &report;
  pages_ = &report.EMFPages;
  TvtGlobals::Get().CurReport = &report;
}

void TvtPreviewModel::ReleasePages() {
  pages_ = nullptr;
}

void TvtPreviewModel::ShowReport(TvtReport& report) {
  ConnectReport(report);
  RedrawAll(true);
}

void TvtPreviewModel::Clear() {
  if (!pages_) return;
  pages_->Clear();
  pages_ = nullptr;
  RedrawAll(true);
}

void TvtPreviewModel::SetBoxSize(int width, int height) {
  box_width_ = std::max(width, 0);
  box_height_ = std::max(height, 0);
  RecalcLayout();
}

void TvtPreviewModel::RedrawAll(bool reset) {
  Scale = zoom_.LastScale;
  ZoomMode = zoom_.LastZoomMode;
  CheckedZoomTag = ZoomMode == kZoomPercent ? round_int(Scale * 100) : ZoomMode;
  if (reset) {
    CurPage = 1;
    ScrollOffsetX = ScrollOffsetY = 0;
    VScroll.Position = HScroll.Position = 0;
  }
  ShowPageNum();
  RecalcLayout();
  // Only pages on screen keep their objects; the next paint loads those again.
  for (int i = 0; i < PageCount(); ++i) {
    TvtPreparedPage& page = pages_->PageInfo(i);
    page.Visible = false;
    page.Page.reset();
  }
}

Rect TvtPreviewModel::PreviewRect(int index) const {
  return pages_->PageInfo(index).PreviewRect;
}

void TvtPreviewModel::RecalcLayout() {
  if (!HasPages()) {
    VScroll = HScroll = {};
    return;
  }
  LayoutSuspended suspended(LayoutReady);
  const int count = PageCount();
  CurPage = std::clamp(CurPage, 1, count);
  const TvtPreparedPage& current = pages_->PageInfo(CurPage - 1);
  const int pw = paper_width(current), ph = paper_height(current);
  switch (ZoomMode) {
    case kZoomPageWidth:
      Scale = (box_width_ - 20.0) / pw;
      break;
    case kZoomWholePage:
      Scale = (box_height_ - 20.0) / ph;
      break;
    case kZoomTwoPages:
      Scale = (box_width_ - 30.0) / (2.0 * pw);
      break;
    default:
      break;
  }
  CheckedZoomTag = ZoomMode == kZoomPercent ? round_int(Scale * 100) : ZoomMode;
  ZoomLabel = std::to_string(round_int(Scale * 100)) + "%";

  // Pages per row: the most that fit in any row when the pages are laid out side by side.
  int per_row = 0;
  int x = 10, in_row = 0;
  for (int i = 0; i < count; ++i) {
    const int end = round_int(paper_width(pages_->PageInfo(i)) * Scale) + x + 10;
    if (end > box_width_) {
      per_row = std::max(per_row, in_row);
      x = 10;
      in_row = 0;
    } else {
      x = end;
      ++in_row;
      if (i == count - 1) per_row = std::max(per_row, in_row);
    }
  }
  per_row = std::max(per_row, 1);
  if (ZoomMode == kZoomWholePage) per_row = 1;
  if (ZoomMode == kZoomTwoPages) per_row = 2;

  int y = 10, max_right = 0, max_bottom = 0;
  for (int first = 0; first < count; first += per_row) {
    x = 10;
    int row_height = 0;
    for (int i = first; i < std::min(first + per_row, count); ++i) {
      TvtPreparedPage& page = pages_->PageInfo(i);
      const int w = round_int(paper_width(page) * Scale);
      const int h = round_int(paper_height(page) * Scale);
      const int left = per_row == 1 && w < box_width_ ? (box_width_ - w) / 2 : x;
      page.PreviewRect = Rect{left, y, left + w, y + h};
      x += w + 10;
      row_height = std::max(row_height, h);
      max_right = std::max(max_right, page.PreviewRect.right);
      max_bottom = std::max(max_bottom, page.PreviewRect.bottom);
    }
    y += row_height + 10;
  }

  const int h_range = max_right - box_width_, v_range = max_bottom - box_height_;
  HScroll.Max = h_range < 0 ? 0 : h_range + 10;
  VScroll.Max = v_range < 0 ? 0 : v_range + 10;
  // A bar keeps its position within its new range.
  if (HScroll.Position > HScroll.Max) SetHorizontalPosition(HScroll.Max);
  if (VScroll.Position > VScroll.Max) SetVerticalBar(VScroll.Max, false);
  ScrollToCurPage();
}

void TvtPreviewModel::ZoomMenuClick(int tag) {
  if (!HasPages()) return;
  ScrollOffsetX = 0;
  if (tag >= kZoomPageWidth && tag <= kZoomTwoPages) {
    ZoomMode = tag;
  } else {
    ZoomMode = kZoomPercent;
    Scale = tag / 100.0;
  }
  CheckedZoomTag = tag;
  HScroll.Position = 0;
  RecalcLayout();
  zoom_.LastScale = Scale;
  zoom_.LastZoomMode = ZoomMode;
}

void TvtPreviewModel::SetZoom(double percent) {
  Scale = percent / 100;
  ZoomMode = kZoomPercent;
  zoom_.LastScale = Scale;
  zoom_.LastZoomMode = ZoomMode;
  RecalcLayout();
}

void TvtPreviewModel::PageWidth() {
  ZoomMode = kZoomPageWidth;
  zoom_.LastZoomMode = kZoomPageWidth;
  RecalcLayout();
}

void TvtPreviewModel::SetVerticalBar(int position, bool follow_page) {
  position = std::clamp(position, 0, VScroll.Max);
  if (position == VScroll.Position && ScrollOffsetY == -position) return;
  VScroll.Position = position;
  ScrollOffsetY = -position;
  if (!follow_page || !HasPages()) return;
  const int probe = position + 11;
  for (int i = 0; i < PageCount(); ++i) {
    const Rect r = PreviewRect(i);
    if (r.top < probe && probe < r.bottom) {
      CurPage = i + 1;
      break;
    }
  }
  ShowPageNum();
}

void TvtPreviewModel::SetVerticalPosition(int position) {
  SetVerticalBar(position, true);
}

void TvtPreviewModel::SetHorizontalPosition(int position) {
  position = std::clamp(position, 0, HScroll.Max);
  HScroll.Position = position;
  ScrollOffsetX = -position;
}

// A page chosen by a command stays current even where the bar cannot bring its top up
// (the last pages at a small zoom): the bar goes as far as it can.
void TvtPreviewModel::ScrollToCurPage() {
  if (!HasPages()) return;
  const int top = PreviewRect(CurPage - 1).top;
  if (top - 10 != VScroll.Position) SetVerticalBar(top - 10, false);
}

void TvtPreviewModel::ShowPageNum() {
  if (!HasPages()) {
    PageLabel.clear();
    return;
  }
  if (OnPageChanged) OnPageChanged(CurPage);
  PageLabel = LoadStr(kStrPage) + " " + std::to_string(CurPage) + "/" + std::to_string(PageCount());
}

void TvtPreviewModel::PgUpClick() {
  if (!HasPages()) return;
  CurPage = std::max(CurPage - 1, 1);
  ShowPageNum();
  ScrollToCurPage();
}

void TvtPreviewModel::PgDownClick() {
  if (!HasPages()) return;
  CurPage = std::min(CurPage + 1, PageCount());
  ShowPageNum();
  ScrollToCurPage();
}

void TvtPreviewModel::MouseWheel(int notches) {
  SetVerticalPosition(VScroll.Position + notches * PreviewScrollBar::SmallChange * WheelStep);
}

PreviewKeyResult TvtPreviewModel::KeyDown(PreviewKey key, bool ctrl, char character) {
  if (!HasPages()) return {};
  const int small = PreviewScrollBar::SmallChange, large = PreviewScrollBar::LargeChange;
  switch (key) {
    case PreviewKey::Up:
      SetVerticalPosition(VScroll.Position - small);
      return {true};
    case PreviewKey::Down:
      SetVerticalPosition(VScroll.Position + small);
      return {true};
    case PreviewKey::Left:
      SetHorizontalPosition(HScroll.Position - small);
      return {true};
    case PreviewKey::Right:
      SetHorizontalPosition(HScroll.Position + small);
      return {true};
    case PreviewKey::PageUp:
      ctrl ? PgUpClick() : SetVerticalPosition(VScroll.Position - large);
      return {true};
    case PreviewKey::PageDown:
      ctrl ? PgDownClick() : SetVerticalPosition(VScroll.Position + large);
      return {true};
    case PreviewKey::Home:
      if (!ctrl) return {};
      SetVerticalPosition(0);
      return {true};
    case PreviewKey::End:
      if (!ctrl) return {};
      CurPage = PageCount();
      ScrollToCurPage();
      ShowPageNum();
      return {true};
    case PreviewKey::Space:
      return {true, PreviewAction::ZoomMenu};
    case PreviewKey::Escape:
      return {true, report_ ? PreviewAction::Close : PreviewAction::None};
    case PreviewKey::F3:
      if (!ctrl) FindNextKey();
      return {true};
    case PreviewKey::Char:
      if (!ctrl) return {};
      switch (character) {
        case 'O':
          return {true, PreviewAction::Open};
        case 'S':
          return {true, PreviewAction::Save};
        case 'P':
          return {true, PrintEnabled ? PreviewAction::Print : PreviewAction::None};
        case 'F':
          return {true, PreviewAction::FindDialog};
        default:
          return {true};
      }
  }
  return {};
}

std::optional<std::pair<int, Point>> TvtPreviewModel::PageAt(Point box_point) const {
  const Point p{box_point.x - ScrollOffsetX, box_point.y - ScrollOffsetY};
  for (int i = 0; i < PageCount(); ++i) {
    const Rect r = PreviewRect(i);
    if (!r.contains(p)) continue;
    return std::pair{i, Point{round_int((p.x - r.left) / Scale), round_int((p.y - r.top) / Scale)}};
  }
  return std::nullopt;
}

bool TvtPreviewModel::MouseDown(Point point) {
  if (ignore_next_down_) {
    ignore_next_down_ = false;
    return false;
  }
  if (!HasPages()) return false;
  PageUnderMouse = 0;
  const Point p{point.x - ScrollOffsetX, point.y - ScrollOffsetY};
  for (int i = 0; i < PageCount(); ++i) {
    const Rect r = PreviewRect(i);
    if (!r.contains(p)) continue;
    PageUnderMouse = i + 1;
    const Point on_page{round_int((p.x - r.left) / Scale), round_int((p.y - r.top) / Scale)};
    TvtGlobals::Get().CurReport = report_;
    int cursor = 0;
    // The handler may reload the report: nothing of the pages is touched after it ran.
    if (pages_->HitTestObject(i, on_page, true, cursor)) return true;
  }
  dragging_ = true;
  last_mouse_ = point;
  return false;
}

int TvtPreviewModel::MouseMove(Point point) {
  if (dragging_) {
    SetHorizontalPosition(HScroll.Position + last_mouse_.x - point.x);
    SetVerticalPosition(VScroll.Position + last_mouse_.y - point.y);
    last_mouse_ = point;
    return 0;
  }
  if (!HasPages() || !report_ || !report_->OnMouseOverObject) return 0;
  const auto hit = PageAt(point);
  if (!hit) return 0;
  TvtGlobals::Get().CurReport = report_;
  int cursor = 0;
  return pages_->HitTestObject(hit->first, hit->second, false, cursor) ? cursor : 0;
}

void TvtPreviewModel::DoubleClick() {
  dragging_ = false;
  ignore_next_down_ = true;
  if (PageUnderMouse > 0 && PageUnderMouse <= PageCount()) {
    CurPage = PageUnderMouse;
    ShowPageNum();
  }
}

void TvtPreviewModel::Paint(Canvas& canvas, const Rect& clip) {
  const Rect box{0, 0, box_width_, box_height_};
  canvas.set_pen(Pen{});
  canvas.set_brush(Brush::solid(Color(kPreviewBackground)));
  if (!HasPages()) {
    canvas.fill_rect(box);
    return;
  }
  if (!LayoutReady) return;
  TvtGlobals::Get().CurReport = report_;
  canvas.fill_rect(box);

  const int count = PageCount();
  std::vector<Rect> shown(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    TvtPreparedPage& page = pages_->PageInfo(i);
    const Rect r = page.PreviewRect.offset(ScrollOffsetX, ScrollOffsetY);
    page.Visible = r.top <= 2000 && r.bottom >= 0 && r.intersects(clip);
    shown[static_cast<size_t>(i)] = r;
  }
  canvas.set_brush(Brush::solid(kWhite));
  for (int i = 0; i < count; ++i) {
    if (!pages_->PageInfo(i).Visible) continue;
    const Rect& r = shown[static_cast<size_t>(i)];
    canvas.rectangle(r);
    const Point shadow[] = {{r.left + 1, r.bottom}, {r.right, r.bottom}, {r.right, r.top + 1}};
    canvas.polyline(shadow);
  }
  for (int i = 0; i < count; ++i) {
    TvtPreparedPage& page = pages_->PageInfo(i);
    if (!page.Visible) {
      pages_->Draw(i, canvas, Rect{});
      continue;
    }
    const Rect& r = shown[static_cast<size_t>(i)];
    Rect target = r;
    if (!page.UseMargins) {
      const PrinterInfo& p = page.PrnInfo;
      const int left =
          r.left + round_int((static_cast<double>(p.offset_x) + page.LeftMargin) * Scale);
      const int top = r.top + round_int((static_cast<double>(p.offset_y) + page.TopMargin) * Scale);
      const int width = round_int(
          (static_cast<double>(p.printable_width) - page.LeftMargin - page.RightMargin) * Scale);
      const int height = round_int(
          (static_cast<double>(p.printable_height) - page.TopMargin - page.BottomMargin) * Scale);
      target = Rect::from_size(left, top, width, height);
    }
    canvas.save_state();
    canvas.intersect_clip_rect(r);
    pages_->Draw(i, canvas, target);
    canvas.restore_state();
  }
}

std::string TvtPreviewModel::OpenFilter() {
  return LoadStr(kStrReportFile) + " (*.zrw)|*.zrw";
}

std::vector<std::pair<std::string, std::string>> TvtPreviewModel::SaveFilters() {
  std::vector<std::pair<std::string, std::string>> filters = {
      {"Zorel Print File (*.zrw)", "*.zrw"}};
  const TvtExportFilters& registry = TvtGlobals::Get().export_filters;
  for (int i = 0; i < registry.Count(); ++i)
    filters.emplace_back(registry.Items(i).Description, registry.Items(i).Mask);
  return filters;
}

void TvtPreviewModel::LoadPrepared(const std::string& file_name) {
  if (!HasPages() || !report_) return;
  // Reading replaces the pages as it goes: the file is read to its end on the side first, so
  // a damaged one leaves the shown report as it was.
  {
    std::ifstream file(file_name, std::ios::binary);
    if (!file) throw IoError("Cannot open " + file_name);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (file.bad()) throw IoError("Cannot read " + file_name);
    ByteReader reader(std::string_view(bytes), file_name);
    TvtEMFPages trial;
    trial.LoadFromStream(reader, true);
  }
  report_->LoadPreparedReport(file_name);
  ConnectReport(*report_);
  {
    LayoutSuspended suspended(LayoutReady);
    CurPage = 1;
    RecalcLayout();
    ShowPageNum();
    ScrollToCurPage();
  }
}

std::string TvtPreviewModel::SaveByFilterIndex(int filter_index, const std::string& file_name) {
  if (!HasPages() || !report_) return {};
  std::filesystem::path path(file_name);
  TvtExportFilter* filter = nullptr;
  if (filter_index == 1) {
    path.replace_extension(".zrw");
  } else {
    const TvtExportFilters& registry = TvtGlobals::Get().export_filters;
    const int row = filter_index - 2;
    if (row < 0 || row >= registry.Count())
      throw ZorelError("No export filter " + std::to_string(filter_index), ErrorKind::Argument);
    filter = registry.Items(row).Filter;
    const std::string& mask = registry.Items(row).Mask;
    path.replace_extension(mask.size() > 1 ? mask.substr(1) : std::string());
  }
  TvtReport& report = *report_;
  ReleasePages();
  try {
    if (filter) {
      report.ExportReportTo(*filter, path.string());
    } else {
      report.SavePreparedReport(path);
    }
  } catch (...) {
    ConnectReport(report);
    throw;
  }
  ConnectReport(report);
  if (filter) RedrawAll(false);
  return path.string();
}

void TvtPreviewModel::FindAccepted(const std::string& text, bool case_sensitive,
                                   bool from_first_page) {
  if (!report_) return;
  search_.Accept(*this, text, case_sensitive, from_first_page);
  search_.FindNext(*this);
}

void TvtPreviewModel::FindNextKey() {
  if (search_.SearchText.empty()) return;
  search_.ContinueFromCurrentPage(*this);
  search_.FindNext(*this);
}

}  // namespace zr
