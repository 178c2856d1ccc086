// Splitting a band over columns and pages (Breaked): objects that fit print, stretchable
// ones print the part that fits and carry the rest, plain ones move to the next page.
#include <algorithm>

#include "engine/model/memo_view.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"

namespace zr {

namespace {

struct SplitItem {
  TvtView* view;
  int32_t top, height;  // as saved before the split
  bool pending = true;
  bool deferred = false;
};

void set_draw_mode(TvtView& view, uint8_t mode) {
  if (auto* memo = dynamic_cast<TvtMemoView*>(&view)) memo->DrawMode = mode;
}

// Moves every other pending object that lies wholly below `grown` and starts within its
// horizontal span down by `amount`.
void push_down(std::vector<SplitItem>& items, const SplitItem& grown, int32_t old_bottom,
               int32_t amount) {
  const TvtView& g = *grown.view;
  for (SplitItem& other : items) {
    TvtView& v = *other.view;
    if (&other == &grown || !other.pending) continue;
    if (v.Top >= old_bottom && v.Left >= g.Left && v.Left < int64_t{g.Left} + g.Width)
      v.Top = SaturateInt32(int64_t{v.Top} + amount);
  }
}

}  // namespace

void TvtBandEngine::SplitBand(TvtPageForming& ps, TvtBand& band) {
  std::vector<SplitItem> items;
  for (TvtView* v : band.objects)
    if (v->ParentBand == &band && v->ObjectType != kObjSubReport)
      items.push_back({v, v->Top, v->Height});
  band.y = ps.cur_y;
  int32_t used = band.max_dy;
  if (!CheckPageBreak(ps, &band, ps.cur_y, band.max_dy, true)) {
    for (SplitItem& item : items) DrawObject(&band, *item.view);
  } else {
    TvtBand* cf = ps.head(btColumnFooter);
    // A page that takes nothing more ends the split: the remainder is treated as printed.
    int rounds = 0;
    bool pending = true;
    while (pending && !Terminated()) {
      const int32_t b = SaturateInt32(int64_t{ps.bottom} -
                                      (cf->Exists() && !ps.summary ? cf->dy : 0) - band.y - 2);
      int32_t round_used = 0;
      bool progressed = false;
      for (SplitItem& item : items) {
        if (!item.pending) continue;
        TvtView& v = *item.view;
        auto* stretchable = dynamic_cast<TvtStretcheable*>(&v);
        const int64_t bottom = int64_t{v.Top} + v.Height;
        if (v.Top >= 0 && v.Top < b && bottom < b) {
          DrawObject(&band, v);
          item.pending = false;
          progressed = true;
          round_used = std::max(round_used, SaturateInt32(bottom));
        } else if (v.Top >= 0 && v.Top < b && stretchable) {
          const int32_t full = v.Height;
          v.Height = b - v.Top + 1;
          if (stretchable->MinimalHeight() < v.Height) {
            set_draw_mode(v, 2);
            DrawObject(&band, v);
            progressed = true;
          }
          v.Height = full;
          const int32_t grow = stretchable->LeftoverHeight();
          const int32_t old_bottom = SaturateInt32(int64_t{v.Top} + full);
          v.Height = SaturateInt32(int64_t{full} + grow);
          push_down(items, item, old_bottom, grow);
          round_used = std::max(round_used, b);
        } else if (v.Top == 0) {
          // Taller than a whole page: printed cut at the bottom rather than never.
          DrawObject(&band, v);
          item.pending = false;
          progressed = true;
          round_used = std::max(round_used, b);
        } else if (v.Top > 0 && v.Top < b) {
          v.Top = b;
        } else if (v.Top < 0 && stretchable && bottom >= 0) {
          const int32_t r = SaturateInt32(bottom);
          if (r < b) {
            v.Top = 0;
            v.Height = r;
            set_draw_mode(v, 2);
            item.pending = false;
            progressed = true;
            round_used = std::max(round_used, r);
            if (v.Stretched())
              item.deferred = true;
            else
              DrawObject(&band, v);
          } else {
            const int32_t top = v.Top, full = v.Height;
            v.Top = 0;
            v.Height = b;
            set_draw_mode(v, 2);
            DrawObject(&band, v);
            progressed = true;
            v.Top = top;
            v.Height = full;
            const int32_t grow = stretchable->LeftoverHeight();
            v.Height = SaturateInt32(int64_t{full} + grow);
            push_down(items, item, SaturateInt32(int64_t{top} + full), grow);
            round_used = std::max(round_used, b);
          }
        } else if (v.Top < 0) {
          // Began on an earlier page and cannot continue: nothing is left to print.
          item.pending = false;
        }
      }
      pending =
          std::any_of(items.begin(), items.end(), [](const SplitItem& i) { return i.pending; });
      used = round_used;
      if (!pending) break;
      for (SplitItem& item : items)
        if (item.pending) item.view->Top = SaturateInt32(int64_t{item.view->Top} - b);
      // Rounds without progress on a fresh page would repeat for ever: what is left of
      // objects that cannot fit is dropped.
      rounds = progressed ? 0 : rounds + 1;
      if (rounds > 1 || b <= 0) break;
      ps.break_y = -1;
      CheckPageBreak(ps, &band, ps.cur_y, 10000, false);
      band.y = ps.cur_y;
    }
  }
  for (SplitItem& item : items)
    if (item.deferred) {
      item.view->Height = used;
      DrawObject(&band, *item.view);
    }
  for (SplitItem& item : items) {
    item.view->Top = item.top;
    item.view->Height = item.height;
    set_draw_mode(*item.view, 0);
  }
  ps.cur_y = SaturateInt32(int64_t{band.y} + used);
}

}  // namespace zr
