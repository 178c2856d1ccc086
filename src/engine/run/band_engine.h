#pragma once
// TvtBandEngine: turns report form pages into prepared pages. It builds the running bands of
// each page (PreparePage), walks the report datasets level by level and prints bands in
// order, breaking columns and pages when the free space runs out (FormPage), and draws one
// band at the current position (DrawBand and the stretching, splitting and band-column rules).
//
// One engine serves one run of one report (both passes of a two-pass run). While it exists it
// is the engine's run host (TvtGlobals::run_host), the aggregates' host and the dictionary's
// running bands; the destructor finishes every page and takes those hooks back. Errors of
// bands and objects go to the report's PrepareError and end the forming (Terminated); the
// engine itself raises nothing the report does not raise.

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/model/page.h"
#include "engine/report/run_host.h"
#include "engine/run/aggregates.h"
#include "engine/run/band.h"
#include "engine/run/component_directory.h"
#include "engine/run/current_band_dataset.h"

namespace zr {

class TvtReport;
class TvtGlobals;
class TvtStretcheable;

// A request recorded while a page is formed as a subreport, played back in its band.
struct TvtDelayedEntry {
  enum Kind { Show, FirstRecord, NextRecord } kind;
  TvtBand* band;
};

// The forming state of one report page.
struct TvtPageForming {
  TvtPage* page = nullptr;
  std::array<TvtBand*, 23> heads{};             // one head per band type
  std::vector<std::unique_ptr<TvtBand>> bands;  // owns heads and further bands
  int32_t left = 0, top = 0, right = 0, bottom_edge = 0;
  int32_t cur_y = 0, bottom = 0, cur_x = 0;
  int column = 0, columns = 1;
  int32_t column_top = 0, column_width = 0, column_gap = 0;
  TvtBand* last_printed = nullptr;
  int band_column = 1;  // band columns: the record's place in its row
  int32_t band_start_x = 0;
  bool final_column_footer = false;
  bool summary = false;               // the column footer's height counts as 0
  int column_no = 1, current_no = 1;  // COLUMN#, CURRENT#
  // Subreport pages: requests are recorded while forming (delay mode) and played back.
  bool delay_mode = false;
  std::vector<TvtDelayedEntry> delayed;
  size_t play_position = 0;
  bool done = false;
  // Where the last break left Y; a band that does not fit there never will.
  int32_t break_y = -1;
  int break_page = -1, break_column = -1;

  TvtBand* head(int type) const { return heads[static_cast<size_t>(type)]; }
};

// The bands of `type` with a view, in chain (top-to-bottom) order.
std::vector<TvtBand*> BandChain(const TvtPageForming& ps, int type);
// The first band of the page with that name, ignoring case; null when there is none.
TvtBand* FindBandNamed(const TvtPageForming& ps, std::string_view name);

class TvtBandEngine : public TvtRunHost, public AggregateHost, public TvtRunningBands {
 public:
  TvtBandEngine(TvtReport& report, const TvtComponentDirectory& components);
  ~TvtBandEngine() override;
  TvtBandEngine(const TvtBandEngine&) = delete;
  TvtBandEngine& operator=(const TvtBandEngine&) = delete;

  // Makes this engine the one that running bands, aggregates and the dictionary ask (the
  // constructor does it; a composite report switches between its members' engines).
  void Activate();

  // --- Page forming ---
  void PreparePage(TvtPage& page);
  void FinishPage(TvtPage& page);
  void FormPage(TvtPage& page);
  // The views' field bindings and the aggregate collection of a prepared page.
  void BindFields(TvtPage& page);
  void CollectAggregates(TvtPage& page);
  void ShowBand(TvtBand* band);
  void ShowBandByName(TvtPageForming& ps, const std::string& name);
  void NewPage(TvtPageForming& ps);
  void NewColumn(TvtPageForming& ps, TvtBand* band);
  bool CheckPageBreak(TvtPageForming& ps, TvtBand* band, int32_t y, int32_t height, bool test_only);
  TvtPageForming* Forming(const TvtPage* page) const;

  // --- Band drawing ---
  bool DrawBand(TvtBand* band);
  int32_t BandHeight(TvtBand* band);
  int32_t CalcBandHeight(TvtBand* band);
  void DoDraw(TvtBand* band);
  bool DrawObjects(TvtBand* band);
  void DrawObject(TvtBand* band, TvtView& view);
  void DrawCrossColumns(TvtBand* band);

  // Append state: the report continues the next form page on the page left.
  bool append = false;
  int32_t saved_y = 0, saved_bottom = 0;
  // The form page left has a page footer: its room stays taken on the page continued.
  bool footer_owed = false;
  // Every run (each pass) starts with no page to continue.
  void ClearAppend() {
    append = false;
    saved_y = saved_bottom = 0;
    footer_owed = false;
  }

  // --- TvtRunHost ---
  Value Counter(std::string_view name) override;
  int32_t CurY() override;
  int32_t BottomLimit() override;
  int32_t RightEdge() override;
  void SetCurY(int32_t y) override;
  void NewPage() override;
  void NewColumn() override;
  void ShowBand(const std::string& name) override;
  void SetModalResult(int32_t result) override { modal_result = result; }
  void ShowProgressText(const std::string& text) override;
  void LoadBlobField(TvtView& view) override;
  std::optional<Value> GetBandProperty(TvtView& band_view, const std::string& name) override;
  bool SetBandProperty(TvtView& band_view, const std::string& name, const Value& value) override;
  bool CallBandMethod(TvtView& band_view, const std::string& name) override;
  int32_t modal_result = 0;

  // --- AggregateHost ---
  TvtAggregateBand* CurrentBand() override;
  TvtAggregateBand* FindDataBand(std::string_view name) override;
  TvtAggregateBand* PageDataBand(AggregateLevel level) override;
  std::optional<int> CrossColumn() override { return cross_column_; }

  // --- TvtRunningBands ---
  std::optional<int> CurrentBandType() const override;
  TvtDataset* DataBandDataset(int data_band_type) const override;

 private:
  // The field a dictionary name stands for (a variable holding a field reference, or a field
  // the dictionary resolved before): its name, with `dataset` set; empty when there is none.
  std::string DictionaryField(const std::string& name, ClientDataset*& dataset);
  // Lets go of the bands of a formed page: datasets released, objects unbound.
  void ReleaseForming(TvtPageForming& ps);
  // Bands of the page (PreparePage steps).
  TvtBand& AddBand(TvtPageForming& ps, int type, TvtBandView* view);
  void AssignObjects(TvtPageForming& ps, TvtBand& band);
  void ChainBands(TvtPageForming& ps);
  void LinkBands(TvtPageForming& ps);
  void ComputeEdges(TvtPageForming& ps);
  int32_t ComputedBottom(const TvtPageForming& ps) const;

  // The data loop and its queue.
  void DataLoop(TvtPageForming& ps, int level);
  void WalkDataBand(TvtPageForming& ps, TvtBand& band, int level);
  // True when a group changed and the record walk went on with the group's new first record.
  void GroupTest(TvtPageForming& ps, TvtBand& band);
  void ShowQueue();
  void SetLine(TvtBand* band, int32_t value);
  void PrintOwedFooters(TvtPageForming& ps);
  void EndPage(int page_no);

  // Drawing helpers.
  void RunBandScript(TvtBand& band);
  void CarryOutRequests(TvtPageForming& ps, TvtBand& band);
  void EndOfBand(TvtBand& band);
  void BandColumns(TvtPageForming& ps, TvtBand& band);
  void Accumulate(TvtBand& band);
  void SplitBand(TvtPageForming& ps, TvtBand& band);
  // Forms the subreport pages of `band`'s objects from `first` on and prints them side by
  // side, breaking pages until every one is done.
  void RunSubreports(TvtPageForming& ps, TvtBand& band, size_t first);
  void SetUpSubreport(TvtPageForming& ps, TvtBand& band, TvtView& object, TvtPageForming& sub);
  // Plays `sub`'s list from its position; false when a band found no room.
  bool PlayDelayed(TvtPageForming& sub);
  void FormPageSteps(TvtPageForming& ps);
  void FinishFormedPage(TvtPageForming& ps);
  void NotifyHooks(TvtView& drawn);
  // Cross bands.
  void LinkCrossDatasets(TvtPageForming& ps);
  void DrawCells(TvtBand& cross, TvtBand& band, int32_t x);
  // The page check of a cross column of width `w` at `x`; moves x to the next page's left.
  void CrossPageCheck(TvtPageForming& ps, TvtBand& band, int32_t& x, int32_t w, int start_page);
  void WalkCrossData(TvtPageForming& ps, TvtBand& band, TvtBand& data, int32_t& x, int start_page);
  int32_t CrossColumnsHeight(TvtPageForming& ps, TvtBand& band);
  bool SecondPassOrBreaked(const TvtBand& band) const;

  // The running band made from `view` (the current page's first), null when there is none.
  TvtBand* RunningBandOf(const TvtView& view) const;
  TvtPageForming& StateOf(const TvtBand& band) const;
  TvtPageForming* CurrentForming() const;
  bool Terminated() const;
  void Error(const std::exception& error);

  TvtReport& report_;
  TvtGlobals& g_;
  const TvtComponentDirectory& components_;
  std::map<const TvtPage*, std::unique_ptr<TvtPageForming>> pages_;
  std::deque<TvtBand*> queue_;
  int depth_ = 1;
  std::vector<TvtView*> hooks_;  // objects that hear of every memo drawn
  std::map<const TvtView*, ClientDataset*> blob_fields_;
  std::optional<int> cross_column_;                // COLUMN# while cross cells are drawn
  std::vector<const TvtPage*> active_subreports_;  // pages whose subreports are playing

  friend class TvtBandSplitter;
};

}  // namespace zr
