#pragma once
// TvtRunHost: what the band engine answers while it forms pages. The value resolver and the
// script write rules reach the running band and page through it (counters, the current Y,
// new-page requests, dialog results, blob fields). Installed in TvtGlobals::run_host by the
// band engine for the length of a run; without one, counters and page positions read as 0 and
// the requests do nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/value.h"

namespace zr {

class TvtView;

class TvtRunHost {
 public:
  virtual ~TvtRunHost() = default;

  // LINE#, LINETHROUGH# of the current band, COLUMN#, CURRENT# of the current page.
  virtual Value Counter(std::string_view name) = 0;
  // The current page's Y, its bottom limit and right edge, in design pixels.
  virtual int32_t CurY() = 0;
  virtual int32_t BottomLimit() = 0;
  virtual int32_t RightEdge() = 0;
  // A script's `CURY := y`; also marks the position as set when the current band has
  // pending new-page or new-column requests.
  virtual void SetCurY(int32_t y) = 0;
  // NEWPAGE, NEWCOLUMN: one more request of the current band. SHOWBAND: the band of that
  // name on the current page.
  virtual void NewPage() = 0;
  virtual void NewColumn() = 0;
  virtual void ShowBand(const std::string& name) = 0;
  // A script's `MODALRESULT := n` while a dialog page is current.
  virtual void SetModalResult(int32_t result) = 0;
  // A script's `PROGRESS := text`: the progress window's second label.
  virtual void ShowProgressText(const std::string& text) = 0;
  // Fills the view from its bound field (FieldName) when that is a blob field.
  virtual void LoadBlobField(TvtView& view) = 0;

  // The band view names served by the running band made from `band_view` (upper-case names:
  // LEFT, TOP, WIDTH, HEIGHT, VISIBLE, CHILDBAND, CONDITION, DATASOURCE, EOF; methods NEXT,
  // PRIOR, FIRST). Empty (false) when the view has no running band or the name is not served
  // there; the design record answers then. Errors of the band's dataset propagate.
  virtual std::optional<Value> GetBandProperty(TvtView& /*band_view*/,
                                               const std::string& /*name*/) {
    return std::nullopt;
  }
  virtual bool SetBandProperty(TvtView& /*band_view*/, const std::string& /*name*/,
                               const Value& /*value*/) {
    return false;
  }
  virtual bool CallBandMethod(TvtView& /*band_view*/, const std::string& /*name*/) { return false; }
};

}  // namespace zr
