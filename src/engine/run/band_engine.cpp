// Page forming: the running bands of a page, their links, the data loop with its queue, and
// the column and page breaks.
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

bool name_matches(const std::string& a, std::string_view b) {
  return !a.empty() && upper_ascii(a) == upper_ascii(b);
}

}  // namespace

TvtBandEngine::TvtBandEngine(TvtReport& report, const TvtComponentDirectory& components)
    : report_(report), g_(TvtGlobals::Get()), components_(components) {
  g_.run_host = this;
  g_.aggregates.host = this;
  report_.DataResolver.SetRunningBands(this);
}

TvtBandEngine::~TvtBandEngine() {
  for (auto& [page, ps] : pages_)
    for (auto& band : ps->bands) {
      ReleaseBandDataset(band->data);
      ReleaseBandDataset(band->cross_data);
    }
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

// --- PreparePage ---

TvtBand& TvtBandEngine::AddBand(TvtPageForming& ps, int type, TvtBandView* view) {
  TvtBand* band = ps.head(type);
  if (!band || band->view) {
    ps.bands.push_back(std::make_unique<TvtBand>(ps.page, type));
    band = ps.bands.back().get();
    if (!ps.head(type)) ps.heads[static_cast<size_t>(type)] = band;
  }
  band->view = view;
  band->Name = view->Name;
  band->x = view->Left;
  band->y = view->Top;
  band->dx = view->Width;
  band->dy = view->Height;
  band->flags = view->Flags;
  band->Visible = view->Visible;
  band->Stretched = view->HasFlag(kFlagStretched);
  band->FormNewPage = view->HasFlag(kBandFormNewPage) && !ps.page->IsSubReportPage;
  band->PrintIfSubsetEmpty = view->HasFlag(kBandPrintIfSubsetEmpty);
  band->Breaked = view->HasFlag(kBandBreaked) && !ps.page->IsSubReportPage;
  band->PrintChildIfInvisible = view->HasFlag(kBandPrintChildIfInvisible);
  if (type == btGroupHeader) {
    band->group_postfix = g_.GlobalParser.ToPostfix(view->FormatText);
  } else if (!(type == btCrossData && view->FormatText.find(';') != std::string::npos)) {
    ReleaseBandDataset(band->data);
    band->data = ResolveBandDataset(view->FormatText, components_);
  }
  std::vector<std::string> errors;
  g_.GlobalInterpreter->CompileScript(view->Script, band->script, errors);
  if (!errors.empty()) throw ZorelError(errors.front());
  return *band;
}

void TvtBandEngine::AssignObjects(TvtPageForming& ps, TvtBand& band) {
  const int64_t top = band.y, bottom = int64_t{band.y} + band.dy;
  auto within = [&](const TvtView& v) { return v.Top >= top && v.Top <= bottom; };
  auto join = [&](TvtView& v) {
    band.objects.push_back(&v);
    v.Top = SaturateInt32(int64_t{v.Top} - band.y);
  };
  std::vector<TvtView*> subreports;
  for (auto& owned : ps.page->Objects) {
    TvtView& v = *owned;
    if (v.ObjectType == kObjBand || !within(v)) continue;
    if (v.ObjectType == kObjSubReport) {
      if (!v.ParentBand) subreports.push_back(&v);
      continue;
    }
    if (!v.ParentBand) {
      v.ParentBand = &band;
      join(v);
    } else if (IsCrossBandType(static_cast<TvtBand*>(v.ParentBand)->type()) &&
               std::find(band.objects.begin(), band.objects.end(), &v) == band.objects.end()) {
      bool listed = false;
      for (auto& other : ps.bands)
        if (!IsCrossBandType(other->type()) && other.get() != &band &&
            std::count(other->objects.begin(), other->objects.end(), &v))
          listed = true;
      if (!listed) {
        join(v);
        band.HasCrossObjects = true;
      }
    }
  }
  for (TvtView* v : subreports) {
    v->ParentBand = &band;
    join(*v);
  }
}

void TvtBandEngine::ChainBands(TvtPageForming& ps) {
  for (int type = 0; type < 23; ++type) {
    std::vector<TvtBand*> chain;
    for (auto& band : ps.bands)
      if (band->type() == type && band->view) chain.push_back(band.get());
    if (chain.empty()) continue;
    std::stable_sort(chain.begin(), chain.end(),
                     [](const TvtBand* a, const TvtBand* b) { return a->y < b->y; });
    for (size_t i = 0; i < chain.size(); ++i) {
      chain[i]->prev = i ? chain[i - 1] : nullptr;
      chain[i]->next = i + 1 < chain.size() ? chain[i + 1] : nullptr;
    }
    ps.heads[static_cast<size_t>(type)] = chain.front();
    chain.front()->last = chain.back();
  }
}

namespace {

std::vector<TvtBand*> chain_of(const TvtPageForming& ps, int type) {
  std::vector<TvtBand*> chain;
  for (TvtBand* b = ps.head(type); b && b->view; b = b->next) chain.push_back(b);
  return chain;
}

TvtBand* find_band(const TvtPageForming& ps, std::string_view name) {
  for (auto& band : ps.bands)
    if (band->view && name_matches(band->Name, name)) return band.get();
  return nullptr;
}

}  // namespace

void TvtBandEngine::LinkBands(TvtPageForming& ps) {
  for (int level = 0; level < 3; ++level) {
    const int header = btMasterHeader + 3 * level, data = header + 1, footer = header + 2;
    const std::vector<TvtBand*> datas = chain_of(ps, data);
    for (TvtBand* h : chain_of(ps, header))
      for (TvtBand* d : datas)
        if (d->y >= int64_t{h->y} + h->dy && !d->header) {
          d->header = h;
          h->data_band = d;
          break;
        }
    for (TvtBand* f : chain_of(ps, footer))
      for (auto d = datas.rbegin(); d != datas.rend(); ++d)
        if (int64_t{(*d)->y} + (*d)->dy <= f->y && !(*d)->footer) {
          (*d)->footer = f;
          f->data_band = *d;
          break;
        }
  }
  const std::vector<TvtBand*> headers = chain_of(ps, btGroupHeader);
  const std::vector<TvtBand*> footers = chain_of(ps, btGroupFooter);
  for (size_t i = 0; i < headers.size() && i < footers.size(); ++i)
    headers[headers.size() - 1 - i]->footer = footers[i];
  for (auto& band : ps.bands) {
    if (!band->view || band->view->ChildBand.empty()) continue;
    TvtBand* child = find_band(ps, band->view->ChildBand);
    // A child chain that leads back to the band would print for ever: that link is dropped.
    bool loops = false;
    for (TvtBand* b = child; b && !loops; b = b->child) loops = b == band.get();
    band->child = loops ? nullptr : child;
  }
  for (TvtBand* group : headers) {
    TvtBand* data = group->view->Master.empty() ? nullptr : find_band(ps, group->view->Master);
    if (!data || !data->IsDataBand()) data = ps.head(btMasterData);
    if (!data || !data->view) continue;
    group->data_band = data;
    if (group->footer) group->footer->data_band = data;
    if (!data->first_group) {
      data->first_group = group;
    } else {
      data->last_group->next_group = group;
      group->prev_group = data->last_group;
    }
    data->last_group = group;
  }
}

void TvtBandEngine::ComputeEdges(TvtPageForming& ps) {
  const Rect bounds = ps.page->PrintableBounds();
  ps.left = bounds.left;
  ps.top = bounds.top;
  ps.right = bounds.right;
  ps.bottom_edge = bounds.bottom;
  TvtBand* footer = ps.head(btPageFooter);
  ps.page->PageFooterHeight = footer && footer->view ? footer->dy : 0;
  ps.columns = std::max(ps.page->Columns, 1);
  ps.column_gap = ps.page->ColumnGap;
  ps.column_width = (ps.right - ps.left - (ps.columns - 1) * ps.column_gap) / ps.columns;
}

int32_t TvtBandEngine::ComputedBottom(const TvtPageForming& ps) const {
  return ps.bottom_edge - ps.page->PageFooterHeight;
}

void TvtBandEngine::PreparePage(TvtPage& page) {
  if (Forming(&page)) return;  // the bands of the first pass serve the second
  auto state = std::make_unique<TvtPageForming>();
  TvtPageForming& ps = *state;
  ps.page = &page;
  pages_[&page] = std::move(state);
  for (int type = 0; type < 23; ++type) {
    ps.bands.push_back(std::make_unique<TvtBand>(&page, type));
    ps.heads[static_cast<size_t>(type)] = ps.bands.back().get();
  }
  for (auto& owned : page.Objects) {
    TvtView& v = *owned;
    v.ParentBand = nullptr;
    if (auto* memo = dynamic_cast<TvtMemoView*>(&v)) memo->CompileHighlight();
    if (v.HasFlag(kFlagWantHook) && v.ObjectType != kObjBand) hooks_.push_back(&v);
    if (auto* sub = dynamic_cast<TvtSubReportView*>(&v);
        sub && sub->SubPage >= 0 && sub->SubPage < report_.Pages.Count())
      report_.Pages.Items(sub->SubPage).IsSubReportPage = true;
  }
  // Cross bands first: their objects are then also listed under the bands they cross.
  for (auto& owned : page.Objects) {
    auto* view = dynamic_cast<TvtBandView*>(owned.get());
    if (!view || !view->IsCross()) continue;
    TvtBand& band = *ps.head(view->BandType());
    band.view = nullptr;
    band.objects.clear();
    AddBand(ps, view->BandType(), view);
  }
  for (int type = btCrossHeader; type <= btCrossFooter; ++type) {
    TvtBand& band = *ps.head(type);
    if (!band.view) continue;
    for (auto& owned : page.Objects) {
      TvtView& v = *owned;
      if (v.ObjectType == kObjBand || v.ParentBand || v.Left < band.x ||
          int64_t{v.Left} + v.Width > int64_t{band.x} + band.dx)
        continue;
      v.ParentBand = &band;
      v.Left -= band.x;
      band.objects.push_back(&v);
    }
  }
  for (int type = 0; type < 23; ++type) {
    if (IsCrossBandType(type) || type == btNone) continue;
    std::vector<TvtBandView*> views;
    for (auto& owned : page.Objects)
      if (auto* view = dynamic_cast<TvtBandView*>(owned.get()); view && view->BandType() == type)
        views.push_back(view);
    for (TvtBandView* view : views) AssignObjects(ps, AddBand(ps, type, view));
  }
  ChainBands(ps);
  TvtBand& none = *ps.head(btNone);
  for (auto& owned : page.Objects)
    if (owned->ObjectType != kObjBand && !owned->ParentBand) {
      owned->ParentBand = &none;
      none.objects.push_back(owned.get());
    }
  LinkBands(ps);
  LinkCrossDatasets(ps);
  ComputeEdges(ps);
  ps.bottom = ComputedBottom(ps);
  ps.cur_x = ps.left;
  ps.cur_y = ps.top;
}

void TvtBandEngine::FinishPage(TvtPage& page) {
  if (g_.FirstPass) return;
  auto found = pages_.find(&page);
  if (found == pages_.end()) return;
  for (auto& band : found->second->bands) {
    ReleaseBandDataset(band->data);
    ReleaseBandDataset(band->cross_data);
  }
  for (auto& owned : page.Objects) owned->ParentBand = nullptr;
  page.PageFooterHeight = 0;
  if (g_.CurPage == &page) g_.CurBand = nullptr;
  pages_.erase(found);
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
    g_.CurPageNo = report_.EMFPages.Count();
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
    report_.EMFPages.Add(page);
    ps.cur_y = ps.top;
    ShowBand(ps.head(btOverlay));
    ShowBand(ps.head(btNone));
  }
  const int pages_before = report_.EMFPages.Count();
  if (!report_.OnManualBuild) ShowBand(ps.head(btReportTitle));
  if (report_.EMFPages.Count() == pages_before) {
    TvtBand* header = ps.head(btPageHeader);
    if (header->Exists() && header->HasFlag(kBandOnFirstPage)) ShowBand(header);
    ShowBand(ps.head(btColumnHeader));
  }
  const int page_before_data = g_.CurPageNo;
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
  g_.CurPageNo = page_before_data + 1;
}

void TvtBandEngine::FinishFormedPage(TvtPageForming& ps) {
  saved_y = ps.column > 0 ? ComputedBottom(ps) : ps.cur_y;
  saved_bottom = ps.bottom;
  ps.column = 0;
  ps.cur_x = ps.left;
  TvtBand* footer = ps.head(btPageFooter);
  bool printed = false;
  if (!report_.OnManualBuild && (footer->HasFlag(kBandOnLastPage) ||
                                 (g_.CurPageNo == 0 && footer->HasFlag(kBandOnFirstPage)))) {
    const uint16_t flags = footer->flags;
    footer->flags |= kBandOnFirstPage;
    PrintOwedFooters(ps);
    footer->flags = flags;
    printed = true;
  }
  footer_owed = footer->Exists() && !printed;
  EndPage(g_.CurPageNo);
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
  for (TvtBand* band : chain_of(ps, type)) {
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
    while (!ds.Eof() && !Terminated()) {
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
      if (Terminated()) break;
      ds.Next();
      GroupTest(ps, band);
      if (ps.delay_mode) {
        ps.delayed.push_back({TvtDelayedEntry::NextRecord, &band});
      } else if (printed) {
        ++ps.current_no;
        ++band.line_through;
        ++band.line;
        if (!ds.Eof() && band.FormNewPage && band.IsVisible()) NewPage(ps);
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
    if (eof) return;
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
  ShowBand(find_band(ps, name));
}

void TvtBandEngine::PrintOwedFooters(TvtPageForming& ps) {
  ps.column = 0;
  ps.cur_x = ps.left;
  TvtBand* footer = ps.head(btPageFooter);
  if (g_.CurPageNo > 0 || footer->HasFlag(kBandOnFirstPage)) {
    const int last = report_.EMFPages.Count() - 1;
    for (int n = std::max(g_.CurPageNo, 0); n <= last && !Terminated(); ++n) {
      if (append && footer_owed) continue;
      g_.CurPageNo = n;
      EndPage(n);
      ShowBand(footer);
    }
  }
  g_.CurPageNo = report_.EMFPages.Count();
}

void TvtBandEngine::NewPage(TvtPageForming& ps) {
  report_.ReportProgress(report_.EMFPages.Count() + 1);
  if (!ps.final_column_footer) ShowBand(ps.head(btColumnFooter));
  PrintOwedFooters(ps);
  ps.bottom = ComputedBottom(ps);
  g_.CurPageNo = report_.EMFPages.Count();
  report_.EMFPages.Add(*ps.page);
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
  for (TvtBand* group : chain_of(ps, btGroupHeader)) {
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

// --- Run host ---

Value TvtBandEngine::Counter(std::string_view name) {
  if (name == "COLUMN#" || name == "CURRENT#") {
    TvtPageForming* ps = CurrentForming();
    if (!ps) return Value(int32_t{0});
    return Value(int32_t{name == "COLUMN#" ? ps->column_no : ps->current_no});
  }
  auto* band = static_cast<TvtBand*>(g_.CurBand);
  if (!band) return Value(int32_t{0});
  if (!band->dataset()) {
    TvtPageForming* ps = Forming(band->page);
    if (ps && ps->head(band->type())) band = ps->head(band->type());
  }
  return Value(name == "LINE#" ? band->line : band->line_through);
}

int32_t TvtBandEngine::CurY() {
  TvtPageForming* ps = CurrentForming();
  return ps ? ps->cur_y : 0;
}

int32_t TvtBandEngine::BottomLimit() {
  TvtPageForming* ps = CurrentForming();
  return ps ? ps->bottom : 0;
}

int32_t TvtBandEngine::RightEdge() {
  TvtPageForming* ps = CurrentForming();
  return ps ? ps->right : 0;
}

void TvtBandEngine::SetCurY(int32_t y) {
  TvtPageForming* ps = CurrentForming();
  if (!ps) return;
  ps->cur_y = y;
  auto* band = static_cast<TvtBand*>(g_.CurBand);
  if (band && (band->new_page_requests > 0 || band->new_column_requests > 0)) {
    band->position_set = true;
    band->assigned_y = y;
  }
}

void TvtBandEngine::NewPage() {
  if (auto* band = static_cast<TvtBand*>(g_.CurBand)) ++band->new_page_requests;
}

void TvtBandEngine::NewColumn() {
  if (auto* band = static_cast<TvtBand*>(g_.CurBand)) ++band->new_column_requests;
}

void TvtBandEngine::ShowBand(const std::string& name) {
  if (TvtPageForming* ps = CurrentForming()) ShowBandByName(*ps, name);
}

void TvtBandEngine::ShowProgressText(const std::string& text) {
  // The window has one label: the script's text takes it until the next progress step.
  if (report_.ShowProgress && !report_.OnProgress)
    g_.ui.show_progress_window(report_.ProgressCaption, text);
}

void TvtBandEngine::LoadBlobField(TvtView& view) {
  auto found = blob_fields_.find(&view);
  if (found == blob_fields_.end() || !IsBlobField(found->second, view.FieldName)) return;
  const ClientDataset& dataset = *found->second;
  const size_t field = dataset.field_index(view.FieldName);
  if (dataset.is_null(field))
    view.LoadFromBlobField(std::nullopt);
  else
    view.LoadFromBlobField(std::string(dataset.blob_bytes(field)));
}

// --- Aggregate host and running bands ---

TvtAggregateBand* TvtBandEngine::CurrentBand() {
  return static_cast<TvtBand*>(g_.CurBand);
}

TvtAggregateBand* TvtBandEngine::FindDataBand(std::string_view name) {
  TvtPageForming* ps = CurrentForming();
  if (!ps) return nullptr;
  std::string_view trimmed = name;
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.front()) <= ' ')
    trimmed.remove_prefix(1);
  while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= ' ')
    trimmed.remove_suffix(1);
  for (auto& band : ps->bands)
    if (band->view && (band->IsDataBand() || band->type() == btCrossData) &&
        name_matches(band->Name, trimmed))
      return band.get();
  return nullptr;
}

TvtAggregateBand* TvtBandEngine::PageDataBand(AggregateLevel level) {
  TvtPageForming* ps = CurrentForming();
  if (!ps) return nullptr;
  int type = btMasterData;
  switch (level) {
    case AggregateLevel::MasterData:
      type = btMasterData;
      break;
    case AggregateLevel::DetailData:
      type = btDetailData;
      break;
    case AggregateLevel::SubdetailData:
      type = btSubDetailData;
      break;
    case AggregateLevel::CrossData:
      type = btCrossData;
      break;
    default:
      return nullptr;
  }
  TvtBand* band = ps->head(type);
  return band && band->view ? band : nullptr;
}

std::optional<int> TvtBandEngine::CurrentBandType() const {
  auto* band = static_cast<TvtBand*>(g_.CurBand);
  if (!band || !g_.CurPage || g_.CurPage->PageType == 1) return std::nullopt;
  return band->type();
}

TvtDataset* TvtBandEngine::DataBandDataset(int data_band_type) const {
  TvtPageForming* ps = CurrentForming();
  if (!ps || data_band_type < 0 || data_band_type > 22) return nullptr;
  TvtBand* band = ps->head(data_band_type);
  return band ? band->dataset() : nullptr;
}

}  // namespace zr
