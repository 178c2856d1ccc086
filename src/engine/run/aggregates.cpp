#include "engine/run/aggregates.h"

#include <string>

#include "engine/run/parser.h"
#include "platform/errors.h"
#include "platform/text_lines.h"

namespace zr {
namespace {

constexpr char kSeparator = '\1';

bool is_kind_code(std::string_view field) {
  return field.size() == 1 && field[0] >= static_cast<char>(AggregateKind::Sum) &&
         field[0] <= static_cast<char>(AggregateKind::Count);
}

std::vector<std::string_view> split_fields(std::string_view key) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t i = 0; i < key.size(); ++i) {
    if (key[i] != kSeparator) continue;
    fields.push_back(key.substr(start, i - start));
    start = i + 1;
  }
  return fields;
}

// Band type codes whose aggregates default to a data band.
constexpr int kReportSummary = 1;
constexpr int kPageFooter = 3;
constexpr int kMasterFooter = 6;
constexpr int kDetailFooter = 9;
constexpr int kSubdetailFooter = 12;
constexpr int kGroupFooter = 17;
constexpr int kCrossFooter = 20;

}  // namespace

std::string AggregateKey(std::string_view band_name, const AggregateCall& call,
                         std::optional<std::string_view> column) {
  std::string key;
  if (column) {
    key += *column;
    key += kSeparator;
  }
  key += band_name;
  key += kSeparator;
  key += static_cast<char>(call.kind);
  key += kSeparator;
  key += call.expression;
  key += kSeparator;
  key += call.flag;
  key += kSeparator;
  return key;
}

std::optional<AggregateKeyParts> ParseAggregateKey(std::string_view key) {
  const std::vector<std::string_view> fields = split_fields(key);
  if (fields.size() < 4 || key.back() != kSeparator) return std::nullopt;
  AggregateKeyParts parts;
  size_t first = 0;
  // A band name is never a single kind code, so the kind's place tells whether a column
  // prefix is there. The expression may itself hold the separator: it takes what is left.
  if (!is_kind_code(fields[1])) {
    if (fields.size() < 5 || !is_kind_code(fields[2])) return std::nullopt;
    parts.column = std::string(fields[0]);
    first = 1;
  }
  parts.band_name = fields[first];
  parts.kind = static_cast<AggregateKind>(fields[first + 1][0]);
  parts.flag = fields.back();
  const size_t expr_start = fields[first + 2].data() - key.data();
  const size_t expr_end = fields.back().data() - key.data() - 1;
  parts.expression = std::string(key.substr(expr_start, expr_end - expr_start));
  return parts;
}

Value InitialAggregateValue(AggregateKind kind) {
  return kind == AggregateKind::Min ? Value(1e300) : Value(int32_t{0});
}

AggregateLevel DefaultAggregateLevel(int band_type) {
  switch (band_type) {
    case kReportSummary:
    case kPageFooter:
    case kMasterFooter:
    case kGroupFooter:
      return AggregateLevel::MasterData;
    case kDetailFooter:
      return AggregateLevel::DetailData;
    case kSubdetailFooter:
      return AggregateLevel::SubdetailData;
    case kCrossFooter:
      return AggregateLevel::CrossData;
    default:
      return AggregateLevel::None;
  }
}

namespace {

Value updated(AggregateKind kind, const Value& current, const Value& result) {
  switch (kind) {
    case AggregateKind::Sum:
    case AggregateKind::Avg:
      return current + result;
    case AggregateKind::Min:
      return result < current ? result : current;
    case AggregateKind::Max:
      return current < result ? result : current;
    case AggregateKind::Count:
      return current + Value(int32_t{1});
  }
  return current;
}

Value zero_if_null(Value v) {
  return v.is_null() ? Value(int32_t{0}) : v;
}

}  // namespace

void TvtAggregateBand::Accumulate(TvtParser& parser, std::optional<int> cross_column) {
  std::optional<std::string> last_expression;
  Value last_result;
  const int count = Aggregates.Count();              // copies per column are added past the end
  if (ParsedKeys.size() > 4096) ParsedKeys.clear();  // keys come and go with cross columns
  for (int i = 0; i < count; ++i) {
    std::string key = Aggregates.NameAt(i);
    auto parsed = ParsedKeys.find(key);
    if (parsed == ParsedKeys.end()) {
      std::optional<AggregateKeyParts> taken_apart = ParseAggregateKey(key);
      parsed = ParsedKeys.emplace(std::move(key), std::move(taken_apart)).first;
    }
    const std::optional<AggregateKeyParts>& parts = parsed->second;
    // Per-column copies are reached through their "0" entry.
    if (!parts || (parts->column && *parts->column != "0")) continue;
    Value result;
    if (parts->kind != AggregateKind::Count) {
      if (last_expression != parts->expression) {
        last_result = parser.Evaluate(parts->expression);
        last_expression = parts->expression;
      }
      result = zero_if_null(last_result);
    }
    if (!Visible && trim_blanks(parts->flag) != "1") continue;
    int index = i;
    if (cross_column && parts->column) {
      AggregateCall call{parts->kind, parts->expression, "", parts->flag};
      const std::string copy = AggregateKey(parts->band_name, call, std::to_string(*cross_column));
      index = Aggregates.IndexOf(copy);
      if (index < 0) {
        Aggregates.SetVariable(copy, InitialAggregateValue(parts->kind));
        index = Aggregates.IndexOf(copy);
      }
    }
    const Value current = zero_if_null(Aggregates.ValueAt(index));
    Aggregates.SetValueAt(index, updated(parts->kind, current, result));
  }
  ++RecordCount;
}

void TvtAggregateBand::ResetShownAggregates() {
  if (!AggregateOwner) return;
  TvtVariables& list = AggregateOwner->Aggregates;
  for (int i = 0; i < list.Count(); ++i) {
    const std::optional<AggregateKeyParts> parts = ParseAggregateKey(list.NameAt(i));
    if (parts && parts->band_name == Name) list.SetValueAt(i, InitialAggregateValue(parts->kind));
  }
  AggregateOwner->RecordCount = 0;
}

Value TvtAggregateBand::ReadAggregate(const AggregateCall& call,
                                      std::optional<int> cross_column) const {
  if (!AggregateOwner) return Value("0");
  std::optional<std::string> column;
  if (HasCrossObjects) column = cross_column ? std::to_string(*cross_column) : "0";
  const TvtVariables& list = AggregateOwner->Aggregates;
  const int index = list.IndexOf(AggregateKey(Name, call, column));
  if (index < 0) return Value("0");
  const Value value = list.ValueAt(index);
  if (call.kind != AggregateKind::Avg) return value;
  // An average over no records is left undefined by the classic engine; 0 is shown.
  if (AggregateOwner->RecordCount == 0) return Value(int32_t{0});
  return value / Value(int32_t{AggregateOwner->RecordCount});
}

CollectingScope::CollectingScope(TvtAggregateState& state, TvtAggregateBand& target)
    : state_(state) {
  state_.collecting = true;
  state_.target = &target;
}

CollectingScope::~CollectingScope() {
  state_.collecting = false;
  state_.target = nullptr;
}

void CollectCalls(TvtParser& parser, const TvtAggregateState& state,
                  const std::vector<std::string>& calls) {
  if (!state.collecting) throw ZorelError("Aggregates are collected outside the collecting state");
  for (const std::string& call : calls) parser.EvaluatePostfix(call);
}

TAggregateFunctionsSplitter::TAggregateFunctionsSplitter(const TvtVariables* variables)
    : TvtFunctionSplitter({"AVG", "COUNT", "MAX", "MIN", "SUM"}, variables) {}

void TAggregateFunctionsSplitter::SplitMemo(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    size_t start = line.find('[');
    while (start != std::string::npos) {
      size_t finish = start;
      ReadBracketed(line, start, finish);
      const size_t end = std::min(finish + 1, line.size());
      Split(std::string_view(line).substr(start, end - start));
      start = end < line.size() ? line.find('[', end) : std::string::npos;
    }
  }
}

void TAggregateFunctionsSplitter::SplitExpressions(const std::vector<std::string>& expressions) {
  for (const std::string& expression : expressions) Split(expression);
}

}  // namespace zr
