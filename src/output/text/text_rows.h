#pragma once
// The text lines of one exported page, collected by the character-based exports: each line
// of a text object becomes a TvtTextRec in the row of its design-pixel top, and a row keeps
// its records sorted by X. Rows are kept only where records are, so a page of any height
// costs memory for its records alone.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/canvas/geometry.h"

namespace zr {

// Frame bits of a record, as the object's FrameTyp.
inline constexpr int kTextFrameRight = 1;
inline constexpr int kTextFrameBottom = 2;
inline constexpr int kTextFrameLeft = 4;
inline constexpr int kTextFrameTop = 8;

struct TvtTextRec {
  int32_t X = 0;  // design pixels
  std::string Text;
  // The font of a memo (left at these values for other objects).
  std::string FontName;
  int32_t FontSize = 0;
  int32_t FontStyle = 0;
  int32_t FontColor = 0;
  int32_t FontCharset = 0;
  int32_t FillColor = 0;
  Rect FrameRect;    // the object's drawing rectangle
  int FrameTyp = 0;  // kTextFrame* bits this line keeps
};

class TvtTextRows {
 public:
  using Row = std::vector<TvtTextRec>;

  // Puts `rec` before the first record of the row whose X is greater than or equal to its own.
  void Insert(int64_t row, TvtTextRec rec);
  void Clear() { rows_.clear(); }
  bool Empty() const { return rows_.empty(); }
  // The records of `row`, empty when it has none.
  const Row& At(int64_t row) const;
  // The first and last rows that have records (only when not Empty).
  int64_t FirstRow() const { return rows_.begin()->first; }
  int64_t LastRow() const { return rows_.rbegin()->first; }
  const std::map<int64_t, Row>& Rows() const { return rows_; }

 private:
  std::map<int64_t, Row> rows_;
};

}  // namespace zr
