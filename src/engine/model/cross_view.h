#pragma once
// TvtCrossView: a cross table. The view itself never prints. Before a report's pages are
// formed it computes its table (TvtCross) from the dataset its definition names and adds
// hidden bands and memos to its page, so that the band engine prints the table as a master
// band over the rows crossed with a cross band over the columns (wide tables continue on
// following pages as cross bands do). Each generated memo is filled just before it prints;
// seven template memos on the page ("ColumnHeaderMemo" + Name ... "GrandRowTotalMemo" +
// Name) give the look of headers, cells and totals. The report puts its saved form back
// after the run, which removes what was added.
//
// Memo lines: dataset; row fields ("A;B+" for subtotals of A); column fields; cell fields
// ("Amount+sum;Amount+count"). Aliases and field aliases of the dictionary apply.
//
// Hooks: a view made while a report loads (TvtGlobals::CurReport) chains itself into that
// report's OnBeforeBuild, OnBeforePrint, OnPrintColumn and OnEndDoc, before the handlers that
// were there; freeing it re-chains the views that remain. Errors of the build (an unknown
// field, a dataset that is not there) propagate into the report's preparation error.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/cross_table.h"
#include "engine/model/view.h"

namespace zr {

class TvtMemoView;
class TvtUserDataset;

inline constexpr uint16_t kFlagCross = 0x6000;

class TvtCrossView : public TvtView {
 public:
  inline static const std::string kClassName = "TvtCrossView";
  // The template memos, in the order of their default texts.
  static const char* const kTemplateNames[7];

  TvtCrossView();
  ~TvtCrossView() override;
  std::string ClassName() const override { return kClassName; }

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  void RegisterProperties() override;
  void Draw(Canvas& canvas) override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  // Adds the seven template memos to the page when "ColumnHeaderMemo" + Name is missing.
  void CreateTemplates();

  // The report hooks.
  void BeforeBuild();
  void PrintColumn(int column_no, int32_t& width);
  void BeforePrint(TvtStrings& memo, TvtView& view);
  void EndDoc();

  bool InternalFrame = false;
  bool RepeatCaptions = false;
  bool ShowHeader = true;

  std::unique_ptr<TvtCross> Cross;
  std::unique_ptr<TvtUserDataset> RowSource, ColumnSource;
  std::vector<int32_t> ColumnWidths, RowHeights;
  bool Measuring = false;
  bool Inactive = true;

  TvtReport* Report() const { return report_; }

 private:
  TvtMemoView* Template(int index) const;
  TvtMemoView* AddMemo(const std::string& name, int32_t left, int32_t top, int32_t width,
                       int32_t height);
  void GenerateLayout();
  void Measure(TvtMemoView& memo);
  // Gives `memo` the look and text of table cell (row, column).
  void Fill(TvtMemoView& memo, TvtStrings& lines, int row, int column);
  void ReleaseSources();

  TvtReport* report_ = nullptr;
  int measure_row_ = 0, measure_column_ = 0;
};

}  // namespace zr
