#pragma once
// TvtCross: the table of a cross view, computed in memory from one pass over a dataset.
//
// The distinct values of the row fields become the rows, those of the column fields the
// columns; the cells hold aggregates of the cell fields. Fields written with "+" get
// subtotals after each of their groups; a grand-total row and column close the table. The
// table starts with caption rows (0 .. H, H the number of column fields: row 0 the captions
// of the column fields, row 1 + i the values of column field i) and caption columns (0 ..
// K - 1, the values of the row fields; row H holds the row field names there).
//
// Keys: a record's key is one part per field joined by ";". Text contributes its text; any
// other value is a number ("%2.6f", padded on the left to 32 characters; null counts as 0)
// and shows its original value. Keys sort part by part: numbers by value (so 1, 2, 10 and
// negatives in order), texts by their bytes, numbers before texts; subtotals follow their
// group and the grand total comes last.
//
// Aggregates are those of the records each cell covers: sum and avg of the non-null values,
// count of the non-null values, min and max. A cell no record reaches holds null.
//
// Not thread-safe; errors of the record source propagate from Build.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/value.h"

namespace zr {

using TvtStrings = std::vector<std::string>;

enum class TvtCrossFunction { Sum, Count, Min, Max, Avg };

struct TvtCrossField {
  std::string name;
  bool totals = false;                                // row and column fields: subtotals
  TvtCrossFunction function = TvtCrossFunction::Sum;  // cell fields
};

struct TvtCrossDefinition {
  std::string dataset;
  std::vector<TvtCrossField> rows, columns, cells;

  // The four definition lines (dataset; row fields; column fields; cell fields). nullopt
  // when fewer than four lines are present or one of them is blank. An unknown cell
  // function is taken as "sum".
  static std::optional<TvtCrossDefinition> Parse(const TvtStrings& memo);
};

// Captions of the four kinds of totals.
struct TvtCrossCaptions {
  std::string column_total = "Total", grand_column_total = "Grand total";
  std::string row_total = "Total", grand_row_total = "Grand total";
};

class TvtCross {
 public:
  // Called per record: the value of the named field. Its errors propagate.
  using FieldReader = std::function<Value(const std::string& field)>;
  // Moves to the next record; false at the end (called once before the first record).
  using RecordStep = std::function<bool()>;

  TvtCross(TvtCrossDefinition definition, TvtCrossCaptions captions = {});

  // Reads every record and lays the table out. A source without records leaves a table
  // without columns.
  void Build(const RecordStep& next, const FieldReader& field);

  int RowCount() const { return rows_; }
  int ColumnCount() const { return columns_; }
  // H and K above.
  int CaptionRows() const { return static_cast<int>(def_.columns.size()); }
  int CaptionColumns() const { return static_cast<int>(def_.rows.size()); }
  int ValueCount() const { return static_cast<int>(def_.cells.size()); }
  const TvtCrossDefinition& Definition() const { return def_; }

  // Value `index` (0 .. ValueCount - 1) of a cell; index -1 gives the frame sides stored
  // for the cell (null when it has none). Anything outside the table gives null.
  Value Cell(int row, int column, int index) const;
  void SetCell(int row, int column, int index, Value value);
  // Keys of data rows and columns ("" for caption rows and columns); totals hold "+;+".
  const std::string& RowKey(int row) const;
  const std::string& ColumnKey(int column) const;
  bool IsTotalRow(int row) const;
  bool IsTotalColumn(int column) const;

 private:
  struct Entry;
  size_t Slot(int row, int column, int index) const;

  TvtCrossDefinition def_;
  TvtCrossCaptions captions_;
  int rows_ = 0, columns_ = 0;
  std::vector<std::string> row_keys_, column_keys_;
  std::vector<Value> cells_;  // rows_ x columns_ x (1 + ValueCount), frame first
};

}  // namespace zr
