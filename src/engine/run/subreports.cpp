// Subreports: other form pages printed inside a band, side by side. Each page is formed at
// once in delay mode, which only records its band requests and record steps; the lists are
// then played back together, and a page break is made whenever one of them finds no room.
#include <algorithm>

#include "engine/model/memo_view.h"
#include "engine/model/subreport_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"

namespace zr {

void TvtBandEngine::SetUpSubreport(TvtPageForming& ps, TvtBand& band, TvtView& object,
                                   TvtPageForming& sub) {
  sub.delayed.clear();
  sub.delay_mode = true;
  FormPage(*sub.page);
  sub.delay_mode = false;
  g_.CurPage = ps.page;
  sub.left = ps.left;
  sub.top = ps.top;
  sub.right = ps.right;
  sub.bottom_edge = ps.bottom_edge;
  sub.cur_y = SaturateInt32(int64_t{object.Top} + band.y);
  sub.cur_x = SaturateInt32(int64_t{ps.cur_x} + object.Left);
  sub.bottom = ps.bottom;
  sub.column = 0;
  sub.columns = 1;
  sub.play_position = 0;
  sub.done = false;
}

bool TvtBandEngine::PlayDelayed(TvtPageForming& sub) {
  while (sub.play_position < sub.delayed.size() && !Terminated()) {
    const TvtDelayedEntry entry = sub.delayed[sub.play_position];
    TvtBand& band = *entry.band;
    if (entry.kind == TvtDelayedEntry::Show) {
      if (DrawBand(&band)) return false;  // no room: drawn again on the next page
    } else if (entry.kind == TvtDelayedEntry::FirstRecord) {
      band.dataset()->First();
      SetLine(&band, 1);
    } else {
      band.dataset()->Next();
      ++sub.current_no;
      ++band.line_through;
      ++band.line;
    }
    ++sub.play_position;
  }
  return true;
}

void TvtBandEngine::RunSubreports(TvtPageForming& ps, TvtBand& band, size_t first) {
  std::vector<TvtPageForming*> subs;
  for (size_t i = first; i < band.objects.size(); ++i) {
    auto* object = dynamic_cast<TvtSubReportView*>(band.objects[i]);
    if (!object || object->SubPage < 0 || object->SubPage >= report_.Pages.Count()) continue;
    TvtPageForming* sub = Forming(&report_.Pages.Items(object->SubPage));
    // A page cannot be printed inside itself, directly or through other subreports.
    if (!sub || sub == &ps || std::count(subs.begin(), subs.end(), sub) ||
        std::count(active_subreports_.begin(), active_subreports_.end(), sub->page))
      continue;
    try {
      SetUpSubreport(ps, band, *object, *sub);
    } catch (const std::exception& e) {
      Error(e);
      return;
    }
    subs.push_back(sub);
  }
  active_subreports_.push_back(ps.page);
  struct Leave {
    std::vector<const TvtPage*>& active;
    ~Leave() { active.pop_back(); }
  } leave{active_subreports_};
  int32_t max_y = ps.cur_y;
  bool first_round = true;
  int idle_rounds = 0;
  while (!Terminated()) {
    if (!first_round)
      for (TvtPageForming* sub : subs) {
        sub->cur_y = ps.cur_y;
        sub->bottom = ps.bottom;
      }
    band.all_done = true;
    max_y = ps.cur_y;
    bool progressed = false;
    for (TvtPageForming* sub : subs) {
      if (sub->done) continue;
      const size_t before = sub->play_position;
      try {
        sub->done = PlayDelayed(*sub);
      } catch (const std::exception& e) {
        Error(e);
        sub->done = true;
      }
      progressed = progressed || sub->play_position != before;
      if (!sub->done) band.all_done = false;
      max_y = std::max(max_y, sub->cur_y);
      g_.CurPage = ps.page;
      g_.CurBand = &band;
    }
    if (band.all_done) break;
    // A band that finds no room even on a fresh page never will: it is left out.
    idle_rounds = progressed ? 0 : idle_rounds + 1;
    if (idle_rounds > 1)
      for (TvtPageForming* sub : subs)
        if (!sub->done) ++sub->play_position;
    band.skip_script = true;
    NewPage(ps);
    first_round = false;
  }
  for (TvtPageForming* sub : subs) sub->delayed.clear();
  ps.cur_y = max_y;
}

}  // namespace zr
