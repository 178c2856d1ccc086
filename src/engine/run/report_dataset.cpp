#include "engine/run/report_dataset.h"

namespace zr {

void TvtDataset::First() {
  rec_no_ = 0;
  if (OnFirst) OnFirst(*this);
}

void TvtDataset::Next() {
  ++rec_no_;
  if ((RangeEnd != reCount || rec_no_ < RangeEndCount) && OnNext) OnNext(*this);
}

void TvtDataset::Prior() {
  --rec_no_;
  if (OnPrior) OnPrior(*this);
}

bool TvtDataset::Eof() {
  bool eof = RangeEnd == reCount && rec_no_ >= RangeEndCount;
  if (OnCheckEOF) OnCheckEOF(*this, eof);
  return eof;
}

}  // namespace zr
