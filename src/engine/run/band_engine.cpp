// Page forming: the data loop with its queue and group tests, the page and column breaks,
// and what is printed when a page starts and ends.
#include "engine/run/band_engine.h"

#include <algorithm>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/subreport_view.h"
#include "engine/report/report.h"
#include "engine/report/report_interpreter.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/dataset_field.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace zr {

namespace {

constexpr int kDataTypes[] = {btMasterData, btDetailData, btSubDetailData};

}  // namespace

TvtBandEngine::TvtBandEngine(TvtReport& report, const TvtComponentDirectory& components)
    : report_(report), g_(TvtGlobals::Get()), components_(components) {
  Activate();
}

void TvtBandEngine::Activate() {
  g_.run_host = this;
  g_.aggregates.host = this;
  report_.DataResolver.SetRunningBands(this);
}

TvtBandEngine::~TvtBandEngine() {
  // Pages still formed (the first pass keeps its bands) are let go here, so that a form page
  // that outlives the engine points at no band of it.
  for (auto& [page, ps] : pages_) ReleaseForming(*ps);
  if (g_.run_host == this) g_.run_host = nullptr;
  if (g_.aggregates.host == this) g_.aggregates.host = nullptr;
  report_.DataResolver.SetRunningBands(nullptr);
  g_.CurBand = nullptr;
}

TvtPageForming* TvtBandEngine::Forming(const TvtPage* page) const {
  auto found = pages_.find(page);
  return found == pages_.end() ? nullptr : found->second.get();
}

TvtPageForming& TvtBandEngine::StateOf(const TvtBand& band) const {
  TvtPageForming* ps = Forming(band.page);
  if (!ps) throw ZorelError("Band of a page that is not prepared");
  return *ps;
}

TvtPageForming* TvtBandEngine::CurrentForming() const {
  return Forming(g_.CurPage);
}

bool TvtBandEngine::Terminated() const {
  TvtReport* master = g_.MasterReport ? g_.MasterReport : &report_;
  return report_.Terminated || master->Terminated;
}

void TvtBandEngine::Error(const std::exception& error) {
  report_.PrepareError(error);
}

// --- FormPage ---

void TvtBandEngine::FormPage(TvtPage& page) {
  TvtPageForming* state = Forming(&page);
  if (!state) return;
  TvtPageForming& ps = *state;
  g_.CurPage = &page;
  if (!report_.PrintIfEmpty) {
    bool empty = true;
    try {
      TvtDataset* ds = ps.head(btMasterData)->dataset();
      if (ds) {
        ds->First();
        empty = ds->Eof();
      }
    } catch (const std::exception&) {
      empty = true;  // a dataset that cannot be positioned makes the page empty
    }
    if (empty) {
      if (append) ++g_.CurPageNo;
      return;
    }
  }
  ps.final_column_footer = false;
  if (ps.delay_mode) {
    depth_ = ps.head(btSubDetailData)->view ? 3 : ps.head(btDetailData)->view ? 2 : 1;
    DataLoop(ps, 1);
  } else {
    FormPageSteps(ps);
  }
  ps.last_printed = nullptr;
}

void TvtBandEngine::FormPageSteps(TvtPageForming& ps) {
  TvtPage& page = *ps.page;
  if (append && saved_y == saved_bottom) {
    append = false;
    g_.CurPageNo = report_.OutputPages().Count();
  }
  try {
    g_.RunScript(page.Script);
  } catch (const std::exception& e) {
    Error(e);
    return;
  }
  ps.bottom = append && footer_owed ? saved_bottom : ComputedBottom(ps);
  ps.column = 0;
  ps.cur_x = ps.left;
  if (append) {
    ps.cur_y = saved_y;
  } else {
    report_.OutputPages().Add(page);
    ps.cur_y = ps.top;
    ShowBand(ps.head(btOverlay));
    ShowBand(ps.head(btNone));
  }
  const int pages_before = report_.OutputPages().Count();
  if (!report_.OnManualBuild) ShowBand(ps.head(btReportTitle));
  if (report_.OutputPages().Count() == pages_before) {
    TvtBand* header = ps.head(btPageHeader);
    if (header->Exists() && header->HasFlag(kBandOnFirstPage)) ShowBand(header);
    ShowBand(ps.head(btColumnHeader));
  }
  if (!report_.OnManualBuild) {
    depth_ = ps.head(btSubDetailData)->view ? 3 : ps.head(btDetailData)->view ? 2 : 1;
    DataLoop(ps, 1);
  }
  if (report_.OnManualBuild) {
    report_.OnManualBuild(page);
  } else {
    ps.final_column_footer = true;
    ShowBand(ps.head(btColumnFooter));
    ps.summary = true;
    ShowBand(ps.head(btReportSummary));
    ps.summary = false;
    ps.final_column_footer = false;
  }
  FinishFormedPage(ps);
}

void TvtBandEngine::FinishFormedPage(TvtPageForming& ps) {
  saved_y = ps.column > 0 ? ComputedBottom(ps) : ps.cur_y;
  saved_bottom = ps.bottom;
  ps.column = 0;
  ps.cur_x = ps.left;
  // The page the data ended on: a next form page that continues goes on there, however many
  // pages this one filled.
  const int last_page = g_.CurPageNo;
  TvtBand* footer = ps.head(btPageFooter);
  if (!report_.OnManualBuild && (footer->HasFlag(kBandOnLastPage) ||
                                 (g_.CurPageNo == 0 && footer->HasFlag(kBandOnFirstPage)))) {
    const uint16_t flags = footer->flags;
    footer->flags |= kBandOnFirstPage;
    PrintOwedFooters(ps);
    footer->flags = flags;
  }
  // Whether or not it printed here, the page has a footer's room taken: a continuing form
  // page keeps the bottom limit left above it and adds no footer of its own to that page.
  footer_owed = footer->Exists();
  EndPage(g_.CurPageNo);
  g_.CurPageNo = last_page + 1;
}

void TvtBandEngine::EndPage(int page_no) {
  if (report_.OnEndPage) report_.OnEndPage(page_no);
  TvtReport* master = g_.MasterReport;
  if (master && master != &report_ && master->OnEndPage) master->OnEndPage(page_no);
}

// --- The data loop ---

void TvtBandEngine::SetLine(TvtBand* band, int32_t value) {
  if (!band) return;
  band->line = value;
  for (TvtView* v : band->objects)
    if (auto* memo = dynamic_cast<TvtMemoView*>(v)) memo->LastText.clear();
}

void TvtBandEngine::ShowQueue() {
  std::deque<TvtBand*> queued;
  queued.swap(queue_);
  for (TvtBand* band : queued) {
    if (Terminated()) break;
    if (band && band->Exists()) ShowBand(band);
  }
}

void TvtBandEngine::DataLoop(TvtPageForming& ps, int level) {
  const int type = kDataTypes[level - 1];
  for (TvtBand* band : BandChain(ps, type)) {
    if (Terminated()) return;
    if (band->dataset()) WalkDataBand(ps, *band, level);
  }
}

void TvtBandEngine::WalkDataBand(TvtPageForming& ps, TvtBand& band, int level) {
  TvtDataset& ds = *band.dataset();
  try {
    ds.First();
    if (ps.delay_mode) {
      ps.delayed.push_back({TvtDelayedEntry::FirstRecord, &band});
    } else {
      SetLine(&band, 1);
      band.line_through = 1;
    }
    for (TvtBand* group = band.first_group; group; group = group->next_group) {
      SetLine(group, 0);
      group->line_through = 0;
    }
    if (ds.Eof()) return;
  } catch (const std::exception& e) {
    Error(e);
    return;
  }
  for (TvtBand* group = band.first_group; group; group = group->next_group) {
    ++group->line;
    ++group->line_through;
    queue_.push_back(group);
  }
  if (band.header) queue_.push_back(band.header);
  if (band.footer) band.footer->ResetShownAggregates();
  try {
    // A script may bind the band to another dataset (DATASOURCE): the walk goes on over that.
    while (band.dataset() && !band.dataset()->Eof() && !Terminated()) {
      queue_.push_back(&band);
      if (band.PrintIfSubsetEmpty) ShowQueue();
      bool printed = true;
      if (level < depth_) {
        DataLoop(ps, level + 1);
        if (!queue_.empty()) {
          if (band.PrintIfSubsetEmpty) {
            ShowQueue();
          } else {
            auto own = std::find(queue_.rbegin(), queue_.rend(), &band);
            if (own != queue_.rend()) queue_.erase(std::next(own).base());
            printed = false;
          }
        }
      } else {
        ShowQueue();
      }
      if (Terminated() || !band.dataset()) break;
      band.dataset()->Next();
      GroupTest(ps, band);
      if (ps.delay_mode) {
        ps.delayed.push_back({TvtDelayedEntry::NextRecord, &band});
      } else if (printed) {
        ++ps.current_no;
        ++band.line_through;
        ++band.line;
        if (band.dataset() && !band.dataset()->Eof() && band.FormNewPage && band.IsVisible())
          NewPage(ps);
      }
    }
  } catch (const std::exception& e) {
    Error(e);
    return;
  }
  if (!queue_.empty())
    queue_.pop_back();
  else
    ShowBand(band.footer);
}

namespace {

bool group_changed(const TvtBand& group, const Value& now) {
  if (!group.has_group_value) return true;
  try {
    return !(now == group.group_value);
  } catch (const std::exception&) {
    return !now.identical(group.group_value);
  }
}

}  // namespace

void TvtBandEngine::GroupTest(TvtPageForming& ps, TvtBand& band) {
  if (!band.dataset()) return;
  TvtDataset& ds = *band.dataset();
  for (TvtBand* group = band.first_group; group; group = group->next_group) {
    const bool eof = ds.Eof();
    if (!eof) {
      g_.CurBand = group;
      g_.CurPage = ps.page;
      if (!group_changed(*group, g_.GlobalParser.EvaluatePostfix(group->group_postfix))) continue;
    }
    if (!eof) ds.Prior();
    for (TvtBand* inner = band.last_group; inner && inner != group; inner = inner->prev_group) {
      queue_.push_back(inner->footer);
      SetLine(inner, 0);
      SetLine(inner->footer, 0);
    }
    queue_.push_back(group->footer);
    ShowQueue();
    if (eof || band.dataset() != &ds) return;  // a footer's script may have rebound it
    ds.Next();
    if (group->FormNewPage && group->IsVisible()) NewPage(ps);
    for (TvtBand* h = group; h; h = h->next_group) {
      ++h->line;
      ++h->line_through;
      queue_.push_back(h);
    }
    SetLine(&band, 0);
    return;
  }
}

// --- Pages and columns ---

void TvtBandEngine::ShowBand(TvtBand* band) {
  if (!band || Terminated()) return;
  TvtPageForming& ps = StateOf(*band);
  if (ps.delay_mode)
    ps.delayed.push_back({TvtDelayedEntry::Show, band});
  else
    DrawBand(band);
}

void TvtBandEngine::ShowBandByName(TvtPageForming& ps, const std::string& name) {
  ShowBand(FindBandNamed(ps, name));
}

void TvtBandEngine::PrintOwedFooters(TvtPageForming& ps) {
  ps.column = 0;
  ps.cur_x = ps.left;
  TvtBand* footer = ps.head(btPageFooter);
  if (g_.CurPageNo > 0 || footer->HasFlag(kBandOnFirstPage)) {
    const int last = report_.OutputPages().Count() - 1;
    for (int n = std::max(g_.CurPageNo, 0); n <= last && !Terminated(); ++n) {
      if (append && footer_owed) continue;
      g_.CurPageNo = n;
      EndPage(n);
      ShowBand(footer);
    }
  }
  g_.CurPageNo = report_.OutputPages().Count();
}

void TvtBandEngine::NewPage(TvtPageForming& ps) {
  report_.ReportProgress(report_.OutputPages().Count() + 1);
  if (!ps.final_column_footer) ShowBand(ps.head(btColumnFooter));
  PrintOwedFooters(ps);
  ps.bottom = ComputedBottom(ps);
  g_.CurPageNo = report_.OutputPages().Count();
  report_.OutputPages().Add(*ps.page);
  append = false;
  ShowBand(ps.head(btOverlay));
  ps.cur_y = ps.top;
  ShowBand(ps.head(btPageHeader));
  ShowBand(ps.head(btColumnHeader));
}

void TvtBandEngine::NewColumn(TvtPageForming& ps, TvtBand* band) {
  if (ps.column < ps.columns - 1) {
    ShowBand(ps.head(btColumnFooter));
    ++ps.column;
    ps.cur_x += ps.column_width + ps.column_gap;
    ps.cur_y = ps.column_top;
    ShowBand(ps.head(btColumnHeader));
  } else {
    NewPage(ps);
  }
  for (TvtBand* group : BandChain(ps, btGroupHeader)) {
    if (group == band) break;
    if (!group->HasFlag(kBandRepeatHeader) || ps.final_column_footer) continue;
    group->repeat = true;
    ShowBand(group);
    group->repeat = false;
  }
  if (band && band->IsDataBand() && band->header && band->header->HasFlag(kBandRepeatHeader)) {
    band->header->repeat = true;
    ShowBand(band->header);
    band->header->repeat = false;
  }
  ps.break_y = ps.cur_y;
  ps.break_page = g_.CurPageNo;
  ps.break_column = ps.column;
}

bool TvtBandEngine::CheckPageBreak(TvtPageForming& ps, TvtBand* band, int32_t y, int32_t height,
                                   bool test_only) {
  if (band && band->type() == btColumnFooter) return false;
  TvtBand* cf = ps.head(btColumnFooter);
  const int64_t footer = cf->Exists() && !ps.summary ? cf->dy : 0;
  const bool over = int64_t{y} + height + footer > ps.bottom;
  if (!over || test_only) return over;
  // Nothing was printed since the last break: a band that does not fit now never will, and
  // breaking again would only add empty pages.
  if (ps.cur_y == ps.break_y && ps.break_page == g_.CurPageNo && ps.break_column == ps.column)
    return over;
  NewColumn(ps, band);
  return over;
}

}  // namespace zr
