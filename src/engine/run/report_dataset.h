#pragma once
// TvtDataset: the record cursor the band engine walks, with a range and a record counter,
// and TvtUserDataset, the "virtual" dataset of a band whose dataset is a number.
//
// A walk: StartIteration; one or more passes of First, then Eof and Next alternating until Eof
// is true; EndIteration. One walk at a time per dataset. Handlers run after the cursor moved;
// their errors propagate. Not thread-safe (single-threaded engine).

#include <cstdint>
#include <functional>
#include <string>

namespace zr {

enum TRangeBegin : uint8_t { rbFirst, rbCurrent };
enum TRangeEnd : uint8_t { reLast, reCurrent, reCount };

class TvtDataset {
 public:
  using TNotifyEvent = std::function<void(TvtDataset& sender)>;
  using TCheckEOFEvent = std::function<void(TvtDataset& sender, bool& eof)>;

  explicit TvtDataset(std::string name = {}) : Name(std::move(name)) {}
  virtual ~TvtDataset() = default;
  TvtDataset(const TvtDataset&) = delete;
  TvtDataset& operator=(const TvtDataset&) = delete;

  std::string Name;  // the component name; lookups ignore case
  TRangeBegin RangeBegin = rbFirst;
  TRangeEnd RangeEnd = reLast;
  int32_t RangeEndCount = 0;  // records of a walk when RangeEnd is reCount
  TNotifyEvent OnFirst, OnNext, OnPrior;
  TCheckEOFEvent OnCheckEOF;

  // 0 after First, +1 per Next, -1 per Prior.
  int32_t RecNo() const { return rec_no_; }

  virtual void StartIteration() {}
  virtual void EndIteration() {}
  virtual void First();
  // Counts the record; OnNext runs unless the count range is used up by this step.
  virtual void Next();
  virtual void Prior();
  // True when the count range is used up; OnCheckEOF may change the answer.
  virtual bool Eof();

  // A component this dataset may refer to is going away (see TvtComponentContainer).
  virtual void ComponentRemoved(const void* /*component*/) {}

 private:
  int32_t rec_no_ = 0;
};

// The dataset made for a band whose dataset text is a number: reCount over that many records.
class TvtUserDataset : public TvtDataset {
 public:
  using TvtDataset::TvtDataset;
};

}  // namespace zr
