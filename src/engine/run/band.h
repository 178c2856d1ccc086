#pragma once
// TvtBand: the running band the band engine makes from a band view while a report page is
// prepared, with the links, counters and drawing state of one band. It embeds the aggregate
// side (TvtAggregateBand: name, type, visibility, entries, owner). Bands live with their
// page's forming state and are destroyed when the page is finished; every pointer here is
// non-owning except the band's own dataset.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/model/band_view.h"
#include "engine/model/view.h"
#include "engine/run/aggregates.h"
#include "engine/run/band_dataset.h"
#include "platform/value.h"

namespace zr {

class TvtPage;

class TvtBand : public TvtAggregateBand {
 public:
  TvtBand(TvtPage* page, int type) : page(page) { BandType = type; }

  TvtPage* page;
  TvtBandView* view = nullptr;  // null for a head without a view (and for the type-22 band)
  int32_t x = 0, y = 0, dx = 0, dy = 0;
  int32_t max_dy = 0;  // height used by the last drawing
  int32_t calculated_height = -1;
  uint16_t flags = 0;
  bool Stretched = false, FormNewPage = false, PrintIfSubsetEmpty = false, Breaked = false,
       PrintChildIfInvisible = false;

  // Views of the band, y relative to the band (x for cross bands).
  std::vector<TvtView*> objects;

  TvtBand *next = nullptr, *prev = nullptr, *last = nullptr, *child = nullptr;
  TvtBand *header = nullptr, *footer = nullptr, *data_band = nullptr;
  TvtBand *first_group = nullptr, *last_group = nullptr;
  TvtBand *next_group = nullptr, *prev_group = nullptr;

  TvtBandDataset data;
  TvtDataset* cross_dataset = nullptr;  // from the cross data band's name=dataset list
  TvtBandDataset cross_data;            // owns it
  int32_t largest_record_count = 0;     // cross data: the most columns a walk reached

  std::string group_postfix;
  Value group_value;
  bool has_group_value = false;

  int32_t line = 1, line_through = 1;
  std::vector<std::string> script;  // compiled OnBeforePrint

  int new_page_requests = 0, new_column_requests = 0;
  int32_t assigned_y = 0;
  bool repeat = false, skip_script = false, position_set = false;
  bool all_done = true;

  TvtDataset* dataset() const { return data.dataset; }
  int type() const { return BandType; }
  bool HasFlag(uint16_t bit) const { return (flags & bit) != 0; }
  // Scripts change visibility through the view.
  bool IsVisible() const { return view ? view->Visible : Visible; }
  bool Exists() const { return view != nullptr || (type() == btNone && !objects.empty()); }
  // Page footers, overlays and the type-22 band print at their own place and never move Y.
  bool FixedInPlace() const {
    return type() == btPageFooter || type() == btOverlay || type() == btNone;
  }
  // Fixed bands print as not stretched: they must not break a page from inside themselves.
  bool StretchesHere() const { return Stretched && !FixedInPlace(); }
  bool IsDataBand() const {
    return type() == btMasterData || type() == btDetailData || type() == btSubDetailData;
  }
};

}  // namespace zr
