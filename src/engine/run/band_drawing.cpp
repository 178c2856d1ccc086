// Drawing one band at the current position: script and requests, the free-space test,
// stretching, band columns, and each object writing itself into the current prepared page.
#include <algorithm>

#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/report_interpreter.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "platform/errors.h"

namespace zr {

namespace {

bool is_fixed_for_space_test(int type) {
  return type == btPageFooter || type == btOverlay || type == btColumnFooter || type == btNone;
}

}  // namespace

void TvtBandEngine::RunBandScript(TvtBand& band) {
  band.position_set = false;
  if (!band.skip_script && !band.script.empty()) {
    g_.CurView = band.view;
    g_.GlobalInterpreter->RunScript(band.script);
  }
  band.skip_script = false;
}

void TvtBandEngine::CarryOutRequests(TvtPageForming& ps, TvtBand& band) {
  const bool requested = band.new_page_requests > 0 || band.new_column_requests > 0;
  for (; band.new_page_requests > 0 && !Terminated(); --band.new_page_requests) {
    ps.column = ps.columns - 1;
    NewColumn(ps, &band);
  }
  for (; band.new_column_requests > 0 && !Terminated(); --band.new_column_requests)
    NewColumn(ps, &band);
  if (requested && band.position_set) ps.cur_y = band.assigned_y;
}

bool TvtBandEngine::DrawBand(TvtBand* band) {
  TvtPageForming& ps = StateOf(*band);
  g_.CurPage = ps.page;
  g_.CurBand = band;
  g_.CurView = band->view;
  band->calculated_height = -1;
  band->new_page_requests = band->new_column_requests = 0;
  if (report_.OnBeginBand) report_.OnBeginBand(*band);

  TvtBand* last = ps.last_printed;
  if (last && last != band && last->Exists() && ps.band_column > 1) {
    // The last band stopped in the middle of a row of band columns.
    ps.cur_x = ps.band_start_x;
    ps.cur_y += last->dy;
    ps.band_column = 1;
  }
  try {
    RunBandScript(*band);
  } catch (const std::exception& e) {
    Error(e);
  }
  if (Terminated()) return false;
  CarryOutRequests(ps, *band);

  bool result = false;
  band->Visible = band->IsVisible();
  if (band->Visible) {
    if (band->type() == btColumnHeader) ps.column_top = ps.cur_y;
    if (band->type() == btPageFooter) band->y = ps.bottom;
    if (band->Exists()) band->calculated_height = band->dy;
    // The height is measured for Breaked bands too: their split uses it.
    if (!is_fixed_for_space_test(band->type()) &&
        int64_t{ps.cur_y} + BandHeight(band) > ps.bottom && !band->Breaked) {
      if (ps.page->IsSubReportPage) return true;
      CheckPageBreak(ps, band, ps.cur_y, 10000, false);
      result = true;
    }
    band->all_done = true;
    if (band->IsDataBand() && band->dataset() && band->next && !band->next->dataset()) {
      for (TvtBand* b = band; b && !Terminated(); b = b->next) DoDraw(b);
    } else {
      DoDraw(band);
      if (band->child && !Terminated()) DrawBand(band->child);
      if (!band->IsDataBand() && band->type() != btGroupHeader && band->FormNewPage &&
          band->IsVisible() && !Terminated())
        NewPage(ps);
    }
    if (!band->all_done) result = true;
  } else {
    if (band->PrintChildIfInvisible && band->child) DrawBand(band->child);
    if (band->IsDataBand()) Accumulate(*band);
  }
  if (!band->repeat) EndOfBand(*band);
  if (report_.OnEndBand) report_.OnEndBand(*band);
  return result;
}

void TvtBandEngine::EndOfBand(TvtBand& band) {
  try {
    if (band.type() == btGroupHeader) {
      g_.CurBand = &band;
      band.group_value = g_.GlobalParser.EvaluatePostfix(band.group_postfix);
      band.has_group_value = true;
    } else if (band.type() != btPageFooter || g_.CurPageNo == report_.OutputPages().Count() - 1) {
      band.ResetShownAggregates();
    }
  } catch (const std::exception& e) {
    Error(e);
  }
}

void TvtBandEngine::Accumulate(TvtBand& band) {
  band.Visible = band.IsVisible();
  try {
    g_.CurBand = &band;
    band.TvtAggregateBand::Accumulate(g_.GlobalParser);
  } catch (const std::exception& e) {
    Error(e);
  }
}

int32_t TvtBandEngine::BandHeight(TvtBand* band) {
  if (band->IsDataBand() && band->dataset() && band->next && !band->next->dataset()) {
    int64_t sum = 0;
    for (TvtBand* b = band; b; b = b->next) sum += CalcBandHeight(b);
    return SaturateInt32(sum);
  }
  if (!band->child) {
    band->calculated_height = band->dy;
    return band->StretchesHere() ? CalcBandHeight(band) : band->dy;
  }
  int64_t sum = 0;
  int guard = 0;
  for (TvtBand* b = band; b && guard < 1000; b = b->child, ++guard) {
    if (!b->IsVisible()) continue;
    if (b->StretchesHere()) {
      sum += CalcBandHeight(b);
    } else {
      b->calculated_height = b->dy;
      sum += b->dy;
    }
  }
  return SaturateInt32(sum);
}

int32_t TvtBandEngine::CalcBandHeight(TvtBand* band) {
  if (band->HasCrossObjects && band->type() != btPageFooter) {
    band->calculated_height = CrossColumnsHeight(StateOf(*band), *band);
    return band->calculated_height;
  }
  int32_t result = band->dy;
  for (TvtView* v : band->objects) {
    auto* stretchable = dynamic_cast<TvtStretcheable*>(v);
    if (!stretchable || v->ParentBand != band) continue;
    try {
      g_.CurView = v;
      result = std::max(result, SaturateInt32(int64_t{stretchable->CalcHeight()} + v->Top));
    } catch (const std::exception& e) {
      Error(e);
      break;
    }
  }
  band->calculated_height = result;
  return result;
}

void TvtBandEngine::DoDraw(TvtBand* band) {
  if (!band->Exists()) return;
  TvtPageForming& ps = StateOf(*band);
  const int32_t saved_y = band->y;
  if (!band->FixedInPlace()) band->y = ps.cur_y;
  const int32_t calc = band->calculated_height < 0 ? band->dy : band->calculated_height;
  if (band->StretchesHere()) {
    std::vector<std::pair<TvtView*, int32_t>> heights;
    for (TvtView* v : band->objects) heights.emplace_back(v, v->Height);
    if (calc > band->dy)
      for (TvtView* v : band->objects)
        if (dynamic_cast<TvtStretcheable*>(v) && v->Stretched() && v->Height > 0)
          v->Height = calc - v->Top;
    band->max_dy = calc;
    if (!band->Breaked) {
      CheckPageBreak(ps, band, ps.cur_y, calc, false);
      band->y = ps.cur_y;
    }
    bool moved = band->Breaked;
    if (band->Breaked)
      SplitBand(ps, *band);
    else
      moved = DrawObjects(band);
    if (!band->Breaked && band->HasCrossObjects && band->type() != btPageFooter)
      DrawCrossColumns(band);
    for (auto& [v, h] : heights) v->Height = h;
    if (!moved) ps.cur_y += calc;
  } else {
    if (!band->FixedInPlace() && !band->Breaked) {
      CheckPageBreak(ps, band, ps.cur_y, band->dy, false);
      band->y = ps.cur_y;
    }
    if (band->Breaked) {
      band->max_dy = calc;
      SplitBand(ps, *band);
    } else {
      const bool moved = DrawObjects(band);
      if (band->HasCrossObjects && band->type() != btPageFooter) DrawCrossColumns(band);
      if (!band->FixedInPlace() && !moved) ps.cur_y += band->dy;
    }
  }
  if (ps.last_printed != band) ps.band_column = 1;
  ps.last_printed = band;
  BandColumns(ps, *band);
  band->y = saved_y;
  if (band->IsDataBand()) Accumulate(*band);
}

void TvtBandEngine::BandColumns(TvtPageForming& ps, TvtBand& band) {
  const TvtBandView* view = band.view;
  if (!view || view->Columns <= 1 || view->NewColumnAfter != 1) return;
  if (ps.band_column == 1) ps.band_start_x = ps.cur_x;
  ++ps.band_column;
  if (ps.band_column > view->Columns) {
    ps.cur_x = ps.band_start_x;
    ps.band_column = 1;
  } else {
    ps.cur_x = SaturateInt32(int64_t{ps.band_start_x} +
                             int64_t{view->ColumnWidth + view->ColumnGap} * (ps.band_column - 1));
    const int32_t used = band.calculated_height < 0 ? band.dy : band.calculated_height;
    ps.cur_y -= band.Breaked ? band.max_dy : used;
  }
}

bool TvtBandEngine::DrawObjects(TvtBand* band) {
  for (size_t i = 0; i < band->objects.size(); ++i) {
    if (Terminated()) break;
    TvtView& v = *band->objects[i];
    if (v.ObjectType != kObjSubReport) {
      DrawObject(band, v);
    } else if (v.Visible && v.ParentBand == band) {
      TvtPageForming& ps = StateOf(*band);
      const int page_before = g_.CurPageNo;
      RunSubreports(ps, *band, i);
      if (g_.CurPageNo == page_before)
        ps.cur_y = std::max(ps.cur_y, SaturateInt32(int64_t{band->y} + band->dy));
      return true;
    }
  }
  return false;
}

bool TvtBandEngine::SecondPassOrBreaked(const TvtBand& band) const {
  return band.Breaked || !g_.FirstPass;
}

void TvtBandEngine::DrawObject(TvtBand* band, TvtView& view) {
  TvtPageForming& ps = StateOf(*band);
  g_.CurPage = ps.page;
  g_.CurBand = band;
  if (view.ParentBand != band) return;
  try {
    if (SecondPassOrBreaked(*band)) {
      auto* memo = dynamic_cast<TvtMemoView*>(&view);
      const bool notify = !memo || memo->DrawMode <= 1;
      const int32_t x = view.Left, y = view.Top;
      view.Left = SaturateInt32(int64_t{x} + ps.cur_x - ps.left);
      view.Top = SaturateInt32(int64_t{y} + band->y);
      struct Restore {
        TvtView& v;
        int32_t x, y;
        ~Restore() {
          v.Left = x;
          v.Top = y;
        }
      } restore{view, x, y};
      g_.CurView = &view;
      view.WriteToPreparedPage(report_.OutputPages().PageStream(g_.CurPageNo));
      if (memo && notify) NotifyHooks(view);
    } else {
      auto* memo = dynamic_cast<TvtMemoView*>(&view);
      if (memo && memo->DrawMode != 0) return;
      g_.CurView = &view;
      g_.RunScript(view.Script);
    }
  } catch (const std::exception& e) {
    Error(e);
  }
}

void TvtBandEngine::NotifyHooks(TvtView& drawn) {
  for (TvtView* hook : hooks_)
    if (hook != &drawn) hook->OnHook(drawn);
}

}  // namespace zr
