#include "engine/model/cross_table.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <unordered_map>

#include "platform/codepage.h"

namespace zr {

namespace {

constexpr int kCaptionFrame = 15;
constexpr int kTotalFrame = 15;

std::string trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    std::string item = trim(text.substr(start, end - start));
    if (!item.empty()) items.push_back(std::move(item));
    start = end + 1;
  }
  return items;
}

std::vector<TvtCrossField> key_fields(std::string line) {
  while (!line.empty() && (line.back() == '+' || line.back() == ';' || line.back() == ' '))
    line.pop_back();
  std::vector<TvtCrossField> fields;
  for (std::string& item : split(line)) {
    TvtCrossField field;
    field.totals = item.back() == '+';
    while (!item.empty() && item.back() == '+') item.pop_back();
    field.name = trim(item);
    fields.push_back(std::move(field));
  }
  // The last field's own total is the grand total, which every table has.
  if (!fields.empty()) fields.back().totals = false;
  return fields;
}

std::vector<TvtCrossField> cell_fields(const std::string& line) {
  std::vector<TvtCrossField> fields;
  for (const std::string& item : split(line)) {
    TvtCrossField field;
    const size_t plus = item.find('+');
    field.name = trim(item.substr(0, plus));
    const std::string function =
        plus == std::string::npos ? std::string() : lower_ascii(trim(item.substr(plus + 1)));
    if (function == "count") field.function = TvtCrossFunction::Count;
    if (function == "min") field.function = TvtCrossFunction::Min;
    if (function == "max") field.function = TvtCrossFunction::Max;
    if (function == "avg") field.function = TvtCrossFunction::Avg;
    fields.push_back(std::move(field));
  }
  return fields;
}

bool absent(const Value& v) {
  return v.is_null() || v.is_empty();
}

// One field's part of a key.
struct Part {
  std::string text;  // the key text
  bool number = false;
  double amount = 0;
  Value shown;  // the original value
};

Part part_of(const Value& value) {
  Part part;
  part.shown = value;
  if (value.is_string()) {
    part.text = value.to_string();
    return part;
  }
  part.number = true;
  part.amount = absent(value) ? 0.0 : value.to_double();
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%2.6f", part.amount);
  part.text = buffer;
  if (part.text.size() < 32) part.text.insert(0, 32 - part.text.size(), ' ');
  return part;
}

int compare_parts(const Part& a, const Part& b) {
  if (a.number != b.number) return a.number ? -1 : 1;
  if (a.number) return a.amount < b.amount ? -1 : (a.amount > b.amount ? 1 : 0);
  return a.text.compare(b.text) < 0 ? -1 : (a.text == b.text ? 0 : 1);
}

using Parts = std::vector<Part>;

std::string join_key(const Parts& parts, size_t count) {
  std::string key;
  for (size_t i = 0; i < count; ++i) key += (i ? ";" : "") + parts[i].text;
  return key;
}

// The distinct keys of one direction, in order of first appearance.
struct KeySet {
  std::unordered_map<std::string, size_t> index;
  std::vector<Parts> keys;

  size_t Add(Parts parts) {
    std::string key = join_key(parts, parts.size());
    auto [it, added] = index.try_emplace(std::move(key), keys.size());
    if (added) keys.push_back(std::move(parts));
    return it->second;
  }
};

// The running aggregate of the records of one cell and one cell field.
struct Accumulator {
  double sum = 0;
  int64_t int_sum = 0;
  bool integral = true;
  int64_t count = 0;
  Value min, max;

  void Add(const Value& v, TvtCrossFunction f) {
    if (absent(v)) return;
    ++count;
    if (f == TvtCrossFunction::Count) return;
    const double d = v.to_double();
    sum += d;
    if (v.is_integer() && integral)
      int_sum += static_cast<int64_t>(d);
    else
      integral = false;
    if (min.is_empty() || d < min.to_double()) min = v;
    if (max.is_empty() || d > max.to_double()) max = v;
  }
  void Merge(const Accumulator& o) {
    sum += o.sum;
    int_sum += o.int_sum;
    integral = integral && o.integral;
    count += o.count;
    if (!o.min.is_empty() && (min.is_empty() || o.min.to_double() < min.to_double())) min = o.min;
    if (!o.max.is_empty() && (max.is_empty() || o.max.to_double() > max.to_double())) max = o.max;
  }
  Value Result(TvtCrossFunction f) const {
    if (f == TvtCrossFunction::Count) return Value(static_cast<int32_t>(count));
    if (count == 0) return Value::null();
    switch (f) {
      case TvtCrossFunction::Min:
        return min;
      case TvtCrossFunction::Max:
        return max;
      case TvtCrossFunction::Avg:
        return Value(sum / static_cast<double>(count));
      default:
        break;
    }
    if (integral && int_sum >= std::numeric_limits<int32_t>::min() &&
        int_sum <= std::numeric_limits<int32_t>::max())
      return Value(static_cast<int32_t>(int_sum));
    return Value(sum);
  }
};

uint64_t pair_key(size_t a, size_t b) {
  return (static_cast<uint64_t>(a) << 32) | static_cast<uint64_t>(b);
}

}  // namespace

std::optional<TvtCrossDefinition> TvtCrossDefinition::Parse(const TvtStrings& memo) {
  if (memo.size() < 4) return std::nullopt;
  for (size_t i = 0; i < 4; ++i)
    if (trim(memo[i]).empty()) return std::nullopt;
  TvtCrossDefinition def;
  def.dataset = trim(memo[0]);
  def.rows = key_fields(memo[1]);
  def.columns = key_fields(memo[2]);
  def.cells = cell_fields(memo[3]);
  if (def.rows.empty() || def.columns.empty() || def.cells.empty()) return std::nullopt;
  return def;
}

// A row or column of the table after the captions: a detail key, a subtotal of the group
// of the first `level + 1` parts, or the grand total.
struct TvtCross::Entry {
  enum Kind { Detail, Subtotal, Grand } kind = Detail;
  size_t key = 0;  // the KeySet index (of the group's last detail for totals)
  int level = 0;
  std::string text;
};

namespace {

// Orders `keys` and places subtotals and the grand total among them. `covers[k]` gets the
// entry positions that key k contributes to (its own, its subtotals, the grand total).
template <typename Entry>
std::vector<Entry> arrange(const std::vector<Parts>& keys, const std::vector<TvtCrossField>& fields,
                           std::vector<std::vector<size_t>>& covers) {
  std::vector<size_t> order(keys.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    for (size_t p = 0; p < keys[a].size(); ++p)
      if (int c = compare_parts(keys[a][p], keys[b][p])) return c < 0;
    return false;
  });
  covers.assign(keys.size(), {});
  std::vector<Entry> entries;
  std::vector<size_t> group_start(fields.size(), 0);
  auto same_group = [&](size_t a, size_t b, size_t level) {
    for (size_t p = 0; p <= level; ++p)
      if (keys[a][p].text != keys[b][p].text) return false;
    return true;
  };
  auto close_groups = [&](size_t done, std::optional<size_t> next) {
    for (size_t level = fields.size(); level-- > 0;) {
      if (!fields[level].totals) continue;
      if (next && same_group(order[done - 1], *next, level)) continue;
      Entry total;
      total.kind = Entry::Subtotal;
      total.key = order[done - 1];
      total.level = static_cast<int>(level);
      total.text = join_key(keys[total.key], level + 1) + ";+;+";
      for (size_t i = group_start[level]; i < done; ++i) covers[order[i]].push_back(entries.size());
      entries.push_back(std::move(total));
      group_start[level] = done;
    }
  };
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0) close_groups(i, order[i]);
    Entry detail;
    detail.key = order[i];
    detail.text = join_key(keys[order[i]], keys[order[i]].size());
    covers[order[i]].push_back(entries.size());
    entries.push_back(std::move(detail));
  }
  if (order.empty()) return entries;
  close_groups(order.size(), std::nullopt);
  Entry grand;
  grand.kind = Entry::Grand;
  grand.key = order.back();
  grand.text = join_key(keys[grand.key], keys[grand.key].size()) + "+;+";
  for (auto& cover : covers) cover.push_back(entries.size());
  entries.push_back(std::move(grand));
  return entries;
}

}  // namespace

TvtCross::TvtCross(TvtCrossDefinition definition, TvtCrossCaptions captions)
    : def_(std::move(definition)), captions_(std::move(captions)) {}

size_t TvtCross::Slot(int row, int column, int index) const {
  return (static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column)) *
             static_cast<size_t>(ValueCount() + 1) +
         static_cast<size_t>(index + 1);
}

void TvtCross::Build(const RecordStep& next, const FieldReader& field) {
  const size_t n = def_.cells.size();
  KeySet row_keys, column_keys;
  std::unordered_map<uint64_t, std::vector<Accumulator>> detail;
  auto parts_of = [&](const std::vector<TvtCrossField>& fields) {
    Parts parts;
    parts.reserve(fields.size());
    for (const TvtCrossField& f : fields) parts.push_back(part_of(field(f.name)));
    return parts;
  };
  while (next()) {
    const size_t r = row_keys.Add(parts_of(def_.rows));
    const size_t c = column_keys.Add(parts_of(def_.columns));
    std::vector<Accumulator>& cell = detail[pair_key(r, c)];
    cell.resize(n);
    for (size_t i = 0; i < n; ++i) cell[i].Add(field(def_.cells[i].name), def_.cells[i].function);
  }
  rows_ = columns_ = 0;
  row_keys_.clear();
  column_keys_.clear();
  cells_.clear();
  if (column_keys.keys.empty()) return;

  std::vector<std::vector<size_t>> row_covers, column_covers;
  const std::vector<Entry> row_entries = arrange<Entry>(row_keys.keys, def_.rows, row_covers);
  const std::vector<Entry> column_entries =
      arrange<Entry>(column_keys.keys, def_.columns, column_covers);
  const int h = CaptionRows(), k = CaptionColumns();
  rows_ = h + 1 + static_cast<int>(row_entries.size());
  columns_ = k + static_cast<int>(column_entries.size());
  row_keys_.assign(static_cast<size_t>(rows_), {});
  column_keys_.assign(static_cast<size_t>(columns_), {});
  cells_.assign(static_cast<size_t>(rows_) * static_cast<size_t>(columns_) * (n + 1),
                Value::null());

  // Data cells: every detail cell adds to the cells of its totals.
  std::unordered_map<uint64_t, std::vector<Accumulator>> totals;
  for (const auto& [key, accumulators] : detail) {
    for (size_t rp : row_covers[key >> 32])
      for (size_t cp : column_covers[key & 0xFFFFFFFFu]) {
        std::vector<Accumulator>& target = totals[pair_key(rp, cp)];
        target.resize(n);
        for (size_t i = 0; i < n; ++i) target[i].Merge(accumulators[i]);
      }
  }
  for (const auto& [key, accumulators] : totals) {
    const int row = h + 1 + static_cast<int>(key >> 32);
    const int column = k + static_cast<int>(key & 0xFFFFFFFFu);
    for (size_t i = 0; i < n; ++i)
      cells_[Slot(row, column, static_cast<int>(i))] =
          accumulators[i].Result(def_.cells[i].function);
  }

  // Caption rows: field names, then one row per column field.
  std::string names;
  for (const TvtCrossField& f : def_.columns) names += (names.empty() ? "" : ", ") + f.name;
  SetCell(0, k, 0, Value(names));
  SetCell(0, k, -1, Value(kCaptionFrame));
  for (int i = 0; i < k; ++i) {
    SetCell(h, i, 0, Value(def_.rows[static_cast<size_t>(i)].name));
    SetCell(h, i, -1, Value(kCaptionFrame));
  }
  auto caption_cells = [&](const std::vector<Entry>& entries, const std::vector<Parts>& keys,
                           const std::string& total, const std::string& grand, bool rows) {
    for (size_t e = 0; e < entries.size(); ++e) {
      const Entry& entry = entries[e];
      const int at = static_cast<int>(e) + (rows ? h + 1 : k);
      (rows ? row_keys_[static_cast<size_t>(at)] : column_keys_[static_cast<size_t>(at)]) =
          entry.text;
      const size_t levels = rows ? def_.rows.size() : def_.columns.size();
      for (size_t level = 0; level < levels; ++level) {
        const int row = rows ? at : 1 + static_cast<int>(level);
        const int column = rows ? static_cast<int>(level) : at;
        Value shown = Value::null();
        if (entry.kind == Entry::Grand) {
          if (level == 0) shown = Value(grand);
        } else if (entry.kind == Entry::Subtotal && static_cast<int>(level) > entry.level) {
          if (static_cast<int>(level) == entry.level + 1) shown = Value(total);
        } else {
          // A value shows where its group starts.
          const Entry* before = e > 0 ? &entries[e - 1] : nullptr;
          bool starts = !before || before->kind != Entry::Detail;
          for (size_t p = 0; p <= level && !starts; ++p)
            starts = keys[before->key][p].text != keys[entry.key][p].text;
          if (starts || entry.kind == Entry::Subtotal) shown = keys[entry.key][level].shown;
          if (entry.kind == Entry::Subtotal && !starts) shown = Value::null();
        }
        SetCell(row, column, 0, shown);
        SetCell(row, column, -1, Value(entry.kind == Entry::Detail ? kCaptionFrame : kTotalFrame));
      }
      if (entry.kind == Entry::Detail) continue;
      // Total cells carry their frame so the view can tell them from the details.
      const int across = rows ? columns_ : rows_;
      for (int other = rows ? k : h + 1; other < across; ++other)
        SetCell(rows ? at : other, rows ? other : at, -1, Value(kTotalFrame));
    }
  };
  caption_cells(column_entries, column_keys.keys, captions_.column_total,
                captions_.grand_column_total, false);
  caption_cells(row_entries, row_keys.keys, captions_.row_total, captions_.grand_row_total, true);
}

Value TvtCross::Cell(int row, int column, int index) const {
  if (row < 0 || row >= rows_ || column < 0 || column >= columns_ || index < -1 ||
      index >= ValueCount())
    return Value::null();
  return cells_[Slot(row, column, index)];
}

void TvtCross::SetCell(int row, int column, int index, Value value) {
  if (row < 0 || row >= rows_ || column < 0 || column >= columns_ || index < -1 ||
      index >= ValueCount())
    return;
  cells_[Slot(row, column, index)] = std::move(value);
}

const std::string& TvtCross::RowKey(int row) const {
  static const std::string none;
  return row >= 0 && row < rows_ ? row_keys_[static_cast<size_t>(row)] : none;
}

const std::string& TvtCross::ColumnKey(int column) const {
  static const std::string none;
  return column >= 0 && column < columns_ ? column_keys_[static_cast<size_t>(column)] : none;
}

bool TvtCross::IsTotalRow(int row) const {
  return RowKey(row).find("+;+") != std::string::npos;
}

bool TvtCross::IsTotalColumn(int column) const {
  return ColumnKey(column).find("+;+") != std::string::npos;
}

}  // namespace zr
