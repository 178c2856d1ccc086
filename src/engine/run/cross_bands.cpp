// Cross bands: vertical strips whose objects (cells) print in every horizontal band they
// cross, once per record of the cross data band's dataset, column after column, continuing
// on following pages when a row is wider than the page.
#include <algorithm>

#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/report_interpreter.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "platform/codepage.h"

namespace zr {

namespace {

// "Band1=dataset1;Band2=dataset2" pairs.
std::vector<std::pair<std::string, std::string>> dataset_pairs(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(start, end - start);
    const size_t equals = item.find('=');
    if (equals != std::string::npos)
      pairs.emplace_back(item.substr(0, equals), item.substr(equals + 1));
    start = end + 1;
  }
  return pairs;
}

bool listed_in(const TvtBand& band, const TvtView* view) {
  return std::find(band.objects.begin(), band.objects.end(), view) != band.objects.end();
}

}  // namespace

void TvtBandEngine::LinkCrossDatasets(TvtPageForming& ps) {
  TvtBand* data = ps.head(btCrossData);
  if (!data->view || data->view->FormatText.find(';') == std::string::npos) return;
  for (const auto& [name, dataset] : dataset_pairs(data->view->FormatText))
    for (auto& band : ps.bands)
      if (band->view && upper_ascii(band->Name) == upper_ascii(name)) {
        ReleaseBandDataset(band->cross_data);
        band->cross_data = ResolveBandDataset(dataset, components_);
        band->cross_dataset = band->cross_data.dataset;
      }
}

void TvtBandEngine::DrawCells(TvtBand& cross, TvtBand& band, int32_t x) {
  TvtPageForming& ps = StateOf(band);
  g_.CurBand = &cross;
  cross.line = band.line;
  cross.line_through = band.line_through;
  if (cross.type() == btCrossData) cross.AggregateOwner = &band;
  for (TvtView* view : cross.objects) {
    if (Terminated()) return;
    if (!listed_in(band, view)) continue;
    try {
      g_.CurView = view;
      if (g_.FirstPass && !band.Breaked) {
        g_.RunScript(view->Script);
        continue;
      }
      const int32_t left = view->Left, top = view->Top;
      view->Left = SaturateInt32(int64_t{left} + x);
      view->Top = SaturateInt32(int64_t{top} + band.y);
      struct Restore {
        TvtView& v;
        int32_t x, y;
        ~Restore() {
          v.Left = x;
          v.Top = y;
        }
      } restore{*view, left, top};
      auto* memo = dynamic_cast<TvtMemoView*>(view);
      const bool notify = !memo || memo->DrawMode <= 1;
      view->WriteToPreparedPage(report_.OutputPages().PageStream(g_.CurPageNo));
      if (memo && notify) NotifyHooks(*view);
    } catch (const std::exception& e) {
      Error(e);
      return;
    }
  }
  (void)ps;
}

void TvtBandEngine::CrossPageCheck(TvtPageForming& ps, TvtBand& band, int32_t& x, int32_t w,
                                   int start_page) {
  if (int64_t{x} + w <= ps.right) return;
  x = ps.left;
  ++g_.CurPageNo;
  if (g_.CurPageNo >= report_.OutputPages().Count()) {
    report_.OutputPages().Add(*ps.page);
    ShowBand(ps.head(btOverlay));
    TvtBand* header = ps.head(btPageHeader);
    if (start_page > 0 || header->HasFlag(kBandOnFirstPage)) {
      const int32_t y = ps.cur_y;
      ps.cur_y = ps.top;
      ShowBand(header);
      ps.cur_y = y;
    }
    report_.ReportProgress(g_.CurPageNo + 1);
  }
  TvtBand* cross_header = ps.head(btCrossHeader);
  if (cross_header->view && cross_header->HasFlag(kBandRepeatHeader)) {
    DrawCells(*cross_header, band, ps.left);
    x = ps.left + cross_header->dx;
  }
}

void TvtBandEngine::WalkCrossData(TvtPageForming& ps, TvtBand& band, TvtBand& data, int32_t& x,
                                  int start_page) {
  if (x == 0) x = data.x;
  TvtDataset* dataset = data.dataset() ? data.dataset() : band.cross_dataset;
  if (!dataset) return;
  dataset->First();
  std::unique_ptr<TvtUserDataset> rows;
  if (band.type() == btMasterFooter && dataset->Eof()) {
    // The footer keeps the columns of the rows above it.
    rows = std::make_unique<TvtUserDataset>();
    rows->RangeEnd = reCount;
    rows->RangeEndCount = data.largest_record_count;
    dataset = rows.get();
    dataset->First();
  }
  while (!dataset->Eof() && !Terminated()) {
    g_.CurView = data.view;
    int32_t width = data.dx;
    if (report_.OnPrintColumn) report_.OnPrintColumn(ps.column_no, width);
    data.dx = width;
    g_.CurBand = &data;
    if (!data.script.empty()) g_.GlobalInterpreter->RunScript(data.script);
    CrossPageCheck(ps, band, x, data.dx, start_page);
    cross_column_ = ps.column_no;
    DrawCells(data, band, x);
    data.Visible = data.IsVisible();
    data.TvtAggregateBand::Accumulate(g_.GlobalParser, ps.column_no);
    if (band.IsDataBand()) band.TvtAggregateBand::Accumulate(g_.GlobalParser, ps.column_no);
    cross_column_.reset();
    x += data.dx;
    ++ps.column_no;
    dataset->Next();
  }
  data.largest_record_count = std::max(data.largest_record_count, dataset->RecNo());
}

void TvtBandEngine::DrawCrossColumns(TvtBand* band) {
  TvtPageForming& ps = StateOf(*band);
  ps.column_no = 1;
  int32_t x = 0;
  const int start_page = g_.CurPageNo;
  try {
    if (report_.OnBeginColumn) report_.OnBeginColumn(*band);
    TvtBand& header = *ps.head(btCrossHeader);
    if (header.view) {
      g_.CurBand = &header;
      if (!header.script.empty()) g_.GlobalInterpreter->RunScript(header.script);
      DrawCells(header, *band, header.x);
      x = header.x + header.dx;
    }
    TvtBand& data = *ps.head(btCrossData);
    if (data.view) WalkCrossData(ps, *band, data, x, start_page);
    TvtBand& footer = *ps.head(btCrossFooter);
    if (footer.view && !Terminated()) {
      if (x == 0) x = footer.x;
      g_.CurBand = &footer;
      if (!footer.script.empty()) g_.GlobalInterpreter->RunScript(footer.script);
      CrossPageCheck(ps, *band, x, footer.dx, start_page);
      DrawCells(footer, *band, x);
      EndOfBand(footer);
    }
  } catch (const std::exception& e) {
    cross_column_.reset();
    Error(e);
  }
  g_.CurPageNo = start_page;
  g_.CurBand = band;
}

int32_t TvtBandEngine::CrossColumnsHeight(TvtPageForming& ps, TvtBand& band) {
  int32_t result = band.dy;
  auto column_height = [&] {
    for (TvtView* v : band.objects) {
      auto* stretchable = dynamic_cast<TvtStretcheable*>(v);
      if (!stretchable) continue;
      g_.CurView = v;
      result = std::max(result, SaturateInt32(int64_t{stretchable->CalcHeight()} + v->Top));
      if (auto* memo = dynamic_cast<TvtMemoView*>(v)) memo->DrawMode = 0;
    }
  };
  try {
    ps.column_no = 1;
    if (report_.OnBeginColumn) report_.OnBeginColumn(band);
    TvtBand& data = *ps.head(btCrossData);
    TvtDataset* dataset =
        data.view ? (data.dataset() ? data.dataset() : band.cross_dataset) : nullptr;
    if (!dataset) {
      column_height();
      return result;
    }
    for (dataset->First(); !dataset->Eof() && !Terminated(); dataset->Next()) {
      int32_t width = 0;
      if (report_.OnPrintColumn) report_.OnPrintColumn(ps.column_no, width);
      cross_column_ = ps.column_no;
      column_height();
      cross_column_.reset();
      ++ps.column_no;
    }
  } catch (const std::exception& e) {
    cross_column_.reset();
    Error(e);
  }
  return result;
}

}  // namespace zr
