#pragma once
// The aggregate functions SUM, AVG, MIN, MAX and COUNT: their keys, the per-band entry
// storage and the four phases the band engine drives.
//
//   1. collecting  once per report page, before any page is formed: with a CollectingScope
//                  for data band D, every band B that may show D's aggregates becomes the
//                  current band and its call texts (found by TAggregateFunctionsSplitter) go
//                  through CollectCalls; the standard library registers the calls naming D;
//   2. accumulating after each record of a master, detail or subdetail data band, also
//                  while it is invisible: D.Accumulate();
//   3. reading      any later evaluation of an aggregate call in B reads from B's owner;
//   4. resetting    after a band F has been printed: F.ResetShownAggregates().
//
// Single-threaded; bands and their lists live with the prepared page's band objects.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/model/variables.h"
#include "engine/run/function_splitter.h"
#include "platform/value.h"

namespace zr {

class TvtParser;

// Kind codes as they appear in entry keys.
enum class AggregateKind : char { Sum = 11, Min = 12, Max = 13, Avg = 14, Count = 15 };

// An aggregate call with its argument texts as written (COUNT has no expression).
struct AggregateCall {
  AggregateKind kind = AggregateKind::Sum;
  std::string expression;
  std::string band;
  std::string flag;
};

// The key of an entry: band name, kind, expression and flag, each followed by the character
// 1; `column` (the "0" of collecting, or a cross column number) is put in front the same way
// when set.
std::string AggregateKey(std::string_view band_name, const AggregateCall& call,
                         std::optional<std::string_view> column = std::nullopt);

struct AggregateKeyParts {
  std::optional<std::string> column;
  std::string band_name;
  AggregateKind kind = AggregateKind::Sum;
  std::string expression;
  std::string flag;
};
// Nullopt for a text that is no entry key.
std::optional<AggregateKeyParts> ParseAggregateKey(std::string_view key);

// The value an entry starts from: 0, or 1e300 for MIN.
Value InitialAggregateValue(AggregateKind kind);

// Which data band an aggregate without a band argument refers to.
enum class AggregateLevel { None, MasterData, DetailData, SubdetailData, CrossData };
// By the type code (0-22) of the band holding the call: report summary, page footer, master
// footer and group footer -> master data; detail footer -> detail; subdetail footer ->
// subdetail; cross footer -> cross; any other -> none.
AggregateLevel DefaultAggregateLevel(int band_type);

// What a runtime band carries for the aggregates. The band engine's band embeds one.
struct TvtAggregateBand {
  std::string Name;
  int BandType = 0;  // 0..22
  bool Visible = true;
  // The band holds objects of cross bands: its entries are kept per cross column.
  bool HasCrossObjects = false;

  // As a data band: the entries keyed by AggregateKey, and the records accumulated.
  TvtVariables Aggregates;
  int RecordCount = 0;
  // As a showing band: the data band that owns the entries it shows (not owned).
  TvtAggregateBand* AggregateOwner = nullptr;
  // The entries' keys taken apart, by key: Accumulate reads them for every record.
  std::unordered_map<std::string, std::optional<AggregateKeyParts>> ParsedKeys;

  // Phase 2 on a data band. Evaluates each entry's expression with `parser` (consecutive
  // entries with the same text share one evaluation; COUNT evaluates nothing); null counts
  // as 0. Entries change only when the band is visible or their flag is "1" (blanks around
  // it, as argument texts carry them, do not count); the record count
  // goes up by one either way. With `cross_column`, entries collected with the "0" prefix are
  // kept in a copy per column (made from the initial value on first use). Evaluation errors
  // propagate with the entries before the failing one already updated.
  void Accumulate(TvtParser& parser, std::optional<int> cross_column = std::nullopt);

  // Phase 4 on a printed band F: the entries of F's owner that F shows return to their
  // initial values and the owner's record count becomes 0. No owner: nothing happens.
  void ResetShownAggregates();

  // Phase 3 on a showing band: the value of `call` from the owner's list; AVG divides by the
  // owner's record count (0 records give 0). The string "0" without an owner or entry.
  Value ReadAggregate(const AggregateCall& call,
                      std::optional<int> cross_column = std::nullopt) const;
};

// The band engine's side, as the standard library needs it while evaluating aggregates.
class AggregateHost {
 public:
  virtual ~AggregateHost() = default;
  // The band whose texts are being evaluated; null when there is none.
  virtual TvtAggregateBand* CurrentBand() = 0;
  // The data band of the current page with this name (trimmed, compared without regard to
  // case); null when there is none.
  virtual TvtAggregateBand* FindDataBand(std::string_view name) = 0;
  // The current page's data band of `level`; null when there is none.
  virtual TvtAggregateBand* PageDataBand(AggregateLevel level) = 0;
  // The cross column being drawn (COLUMN#), when cross cells are being drawn.
  virtual std::optional<int> CrossColumn() { return std::nullopt; }
};

// The report-wide collecting state plus the host. Owned by the engine state; the function
// context points at it.
struct TvtAggregateState {
  AggregateHost* host = nullptr;  // not owned
  bool collecting = false;
  TvtAggregateBand* target = nullptr;  // the data band D being collected for
};

// Sets the collecting state for `target` and clears it when destroyed, also after an error.
class CollectingScope {
 public:
  CollectingScope(TvtAggregateState& state, TvtAggregateBand& target);
  ~CollectingScope();
  CollectingScope(const CollectingScope&) = delete;
  CollectingScope& operator=(const CollectingScope&) = delete;

 private:
  TvtAggregateState& state_;
};

// Phase 1 for the current band: evaluates each collected call text, which registers the
// aggregates naming the target. Raises ZorelError outside a CollectingScope; evaluation
// errors propagate (the engine reports them and ends the collecting).
void CollectCalls(TvtParser& parser, const TvtAggregateState& state,
                  const std::vector<std::string>& calls);

// Finds the aggregate calls in band texts. `variables` (the dictionary's) may be null.
class TAggregateFunctionsSplitter : public TvtFunctionSplitter {
 public:
  explicit TAggregateFunctionsSplitter(const TvtVariables* variables);
  // Each line from its first "[" on: each bracketed text, brackets included, is split.
  void SplitMemo(const std::vector<std::string>& lines);
  // The expressions of a compiled script (conditions, expressions, right-hand sides).
  void SplitExpressions(const std::vector<std::string>& expressions);
};

}  // namespace zr
