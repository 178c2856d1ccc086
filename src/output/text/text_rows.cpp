// The rows of records of one exported page.
#include "output/text/text_rows.h"

#include <algorithm>

namespace zr {

void TvtTextRows::Insert(int64_t row, TvtTextRec rec) {
  Row& records = rows_[row];
  auto at = std::lower_bound(records.begin(), records.end(), rec.X,
                             [](const TvtTextRec& r, int32_t x) { return r.X < x; });
  records.insert(at, std::move(rec));
}

const TvtTextRows::Row& TvtTextRows::At(int64_t row) const {
  static const Row kNone;
  auto found = rows_.find(row);
  return found == rows_.end() ? kNone : found->second;
}

}  // namespace zr
