// Preparing a page for forming: the running bands made from the band views, the objects
// given to the bands they lie in, and the links between headers, footers, groups, children
// and datasets.
#include <algorithm>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/subreport_view.h"
#include "engine/report/report.h"
#include "engine/report/report_interpreter.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {

std::vector<TvtBand*> BandChain(const TvtPageForming& ps, int type) {
  std::vector<TvtBand*> chain;
  for (TvtBand* b = ps.head(type); b && b->view; b = b->next) chain.push_back(b);
  return chain;
}

TvtBand* FindBandNamed(const TvtPageForming& ps, std::string_view name) {
  for (auto& band : ps.bands)
    if (band->view && !band->Name.empty() && upper_ascii(band->Name) == upper_ascii(name))
      return band.get();
  return nullptr;
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
    // A master band that names no dataset walks the report's own (the viewer's last section),
    // unless that one drives the whole report.
    if (type == btMasterData && !band->data.dataset && report_.ReportType == rtSimple &&
        report_.Dataset) {
      report_.Dataset->StartIteration();
      band->data.dataset = report_.Dataset;
    }
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

void TvtBandEngine::LinkBands(TvtPageForming& ps) {
  for (int level = 0; level < 3; ++level) {
    const int header = btMasterHeader + 3 * level, data = header + 1, footer = header + 2;
    const std::vector<TvtBand*> datas = BandChain(ps, data);
    for (TvtBand* h : BandChain(ps, header))
      for (TvtBand* d : datas)
        if (d->y >= int64_t{h->y} + h->dy && !d->header) {
          d->header = h;
          h->data_band = d;
          break;
        }
    for (TvtBand* f : BandChain(ps, footer))
      for (auto d = datas.rbegin(); d != datas.rend(); ++d)
        if (int64_t{(*d)->y} + (*d)->dy <= f->y && !(*d)->footer) {
          (*d)->footer = f;
          f->data_band = *d;
          break;
        }
  }
  const std::vector<TvtBand*> headers = BandChain(ps, btGroupHeader);
  const std::vector<TvtBand*> footers = BandChain(ps, btGroupFooter);
  for (size_t i = 0; i < headers.size() && i < footers.size(); ++i)
    headers[headers.size() - 1 - i]->footer = footers[i];
  for (auto& band : ps.bands) {
    if (!band->view || band->view->ChildBand.empty()) continue;
    TvtBand* child = FindBandNamed(ps, band->view->ChildBand);
    // A child chain that leads back to the band would print for ever: that link is dropped.
    bool loops = false;
    for (TvtBand* b = child; b && !loops; b = b->child) loops = b == band.get();
    band->child = loops ? nullptr : child;
  }
  for (TvtBand* group : headers) {
    TvtBand* data = group->view->Master.empty() ? nullptr : FindBandNamed(ps, group->view->Master);
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
  ReleaseForming(*found->second);
  pages_.erase(found);
}

void TvtBandEngine::ReleaseForming(TvtPageForming& ps) {
  for (auto& band : ps.bands) {
    ReleaseBandDataset(band->data);
    ReleaseBandDataset(band->cross_data);
  }
  for (auto& owned : ps.page->Objects) owned->ParentBand = nullptr;
  ps.page->PageFooterHeight = 0;
  if (g_.CurPage == ps.page) g_.CurBand = nullptr;
}

}  // namespace zr
