#include "engine/model/data_dictionary.h"

#include <algorithm>
#include <array>

#include "engine/run/parser.h"

namespace zr {

namespace {

constexpr int16_t kCurrentLayout = -2;
constexpr int16_t kPruningLayout = -1;

bool is_category(std::string_view name) {
  return !name.empty() && name[0] == ' ';
}

bool starts_with_name(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && same_name(text.substr(0, prefix.size()), prefix);
}

std::string value_text(const Value& value) {
  return value.to_string();
}

void read_block(ByteReader& reader, TvtVariables& list) {
  const int32_t count = reader.read_i32();
  for (int32_t i = 0; i < count; ++i) {
    std::string name = reader.read_string_v23();
    list.SetVariable(name, Value(reader.read_string_v23()));
  }
}

void write_block(ByteWriter& writer, const TvtVariables& list) {
  writer.write_i32(list.Count());
  for (const TVariable& item : list.Items()) {
    writer.write_string_v23(item.name);
    writer.write_string_v23(value_text(item.value));
  }
}

std::string read_short_string(ByteReader& reader) {
  return reader.read_bytes(reader.read_u8());
}

// Oldest layout: a system variable by its number (1 is not among them: it meant "text b").
std::string system_variable_name(int32_t number) {
  static constexpr std::array<const char*, 9> kNames = {
      "PAGE#", "", "DATE", "TIME", "LINE#", "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES"};
  return number >= 0 && number < static_cast<int32_t>(kNames.size()) ? kNames[number] : "";
}

}  // namespace

void TvtDataDictionary::Clear() {
  VariableList.Clear();
  AliasList.Clear();
  BandSourceList.Clear();
}

void TvtDataDictionary::AddCacheItem(std::string_view name, DatasetHandle dataset,
                                     std::string_view field_name) {
  cache_.emplace(name_key(name), TvtCacheItem{dataset, std::string(field_name)});
}

const TvtCacheItem* TvtDataDictionary::CachedField(std::string_view name) const {
  auto found = cache_.find(name_key(name));
  return found == cache_.end() ? nullptr : &found->second;
}

std::optional<TvtCacheItem> TvtDataDictionary::resolve(std::string_view text) const {
  if (!resolver_) return std::nullopt;
  return resolver_->resolve_field(text);
}

bool TvtDataDictionary::VariableExists(std::string_view name) {
  if (cache_.contains(name_key(name))) return true;

  const int index = VariableList.IndexOf(name);
  if (index >= 0) {
    const Value value = VariableList.ValueAt(index);
    if (!value.is_null()) {
      const std::string text = value_text(value);
      if (text.find('.') != std::string::npos) {
        if (auto item = resolve(text)) AddCacheItem(name, item->dataset, item->field_name);
      }
    }
    return true;
  }

  std::string text(name);
  if (auto parts = SplitFieldName(name)) {
    const std::string dataset = RealDatasetName(parts->dataset);
    std::string field = parts->field;
    for (const TVariable& alias : AliasList.Items()) {
      if (same_name(value_text(alias.value), field) &&
          starts_with_name(alias.name, dataset + ".")) {
        if (auto real = SplitFieldName(alias.name)) field = real->field;
        break;
      }
    }
    text = dataset + ".\"" + field + "\"";
  }
  if (auto item = resolve(text)) {
    AddCacheItem(name, item->dataset, item->field_name);
    return true;
  }
  return false;
}

bool TvtDataDictionary::TryGetValue(std::string_view name, Value& value) {
  const TvtCacheItem* item = nullptr;
  if (auto spelled = spelled_.find(name); spelled != spelled_.end()) {
    item = &spelled->second;
  } else if (auto cached = cache_.find(name_key(name)); cached != cache_.end()) {
    if (spelled_.size() >= 4096) spelled_.clear();  // names built at run time must not pile up
    item = &spelled_.emplace(std::string(name), cached->second).first->second;
  }
  if (item) {
    if (!resolver_) {
      value = Value::null();
    } else {
      resolver_->open_if_closed(item->dataset);
      value = resolver_->field_value(item->dataset, item->field_name);
    }
    return true;
  }
  if (!VariableExists(name)) return false;
  value = GetValue(name);
  return true;
}

Value TvtDataDictionary::GetValue(std::string_view name) {
  if (auto cached = cache_.find(name_key(name)); cached != cache_.end()) {
    if (!resolver_) return Value::null();
    resolver_->open_if_closed(cached->second.dataset);
    return resolver_->field_value(cached->second.dataset, cached->second.field_name);
  }

  const int index = VariableList.IndexOf(name);
  if (index < 0) return Value::null();
  if (script_variables_) {
    const int script = script_variables_->IndexOf(name);
    if (script >= 0) return script_variables_->ValueAt(script);
  }
  Value value = VariableList.ValueAt(index);
  if (!value.is_string() || value.raw_string().empty()) return value;
  if (!parser_) {
    throw ZorelError("No expression parser to evaluate variable '" + std::string(name) + "'");
  }
  return parser_->Evaluate(value.raw_string());
}

std::optional<FieldNameParts> TvtDataDictionary::SplitFieldName(std::string_view text) {
  bool quoted = false;
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] == '"') {
      quoted = !quoted;
    } else if (text[i] == '.' && !quoted) {
      std::string_view field = text.substr(i + 1);
      if (!field.empty() && field.front() == '"') field.remove_prefix(1);
      if (!field.empty() && field.back() == '"') field.remove_suffix(1);
      return FieldNameParts{std::string(text.substr(0, i)), std::string(field)};
    }
  }
  return std::nullopt;
}

std::string TvtDataDictionary::RealDatasetName(std::string_view alias) const {
  for (const TVariable& entry : AliasList.Items()) {
    if (same_name(value_text(entry.value), alias)) return entry.name;
  }
  return std::string(alias);
}

std::string TvtDataDictionary::RealFieldName(std::string_view alias) const {
  const std::string name = RealDatasetName(alias);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

bool TvtDataDictionary::IsDatasetEnabled(std::string_view name) const {
  for (const std::string& entry : DisabledDatasetList) {
    if (!entry.empty() && entry.back() == '*') {
      if (starts_with_name(name, std::string_view(entry).substr(0, entry.size() - 1))) {
        return false;
      }
    } else if (same_name(entry, name)) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> TvtDataDictionary::GetDatasetList() const {
  std::vector<std::string> list;
  if (!resolver_) return list;
  for (const std::string& name : resolver_->dataset_names()) {
    if (!IsDatasetEnabled(name)) continue;
    if (AliasList.Count() == 0) {
      list.push_back(name);
      continue;
    }
    const int alias = AliasList.IndexOf(name);
    if (alias < 0) continue;
    std::string shown = value_text(AliasList.ValueAt(alias));
    if (!shown.empty()) list.push_back(std::move(shown));
  }
  std::sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
    const std::string ka = name_key(a), kb = name_key(b);
    return ka != kb ? ka < kb : a < b;
  });
  return list;
}

std::vector<std::string> TvtDataDictionary::GetFieldList(std::string_view dataset) const {
  std::vector<std::string> list;
  if (!resolver_) return list;
  const std::string real = RealDatasetName(dataset);
  for (std::string& field : resolver_->field_names(real)) {
    const int alias = AliasList.IndexOf(real + "." + field);
    if (alias < 0) {
      list.push_back(std::move(field));
      continue;
    }
    std::string shown = value_text(AliasList.ValueAt(alias));
    if (!shown.empty()) list.push_back(std::move(shown));
  }
  return list;
}

std::vector<std::string> TvtDataDictionary::GetCategoryVariables(std::string_view category) const {
  std::vector<std::string> names;
  const int header = VariableList.IndexOf(" " + std::string(category));
  if (header < 0) return names;
  for (int i = header + 1; i < VariableList.Count(); ++i) {
    std::string name = VariableList.NameAt(i);
    if (name.empty() || is_category(name)) break;
    names.push_back(std::move(name));
  }
  return names;
}

void TvtDataDictionary::LoadFromStream(ByteReader& reader) {
  Clear();
  const size_t start = reader.position();
  const int16_t mark = reader.read_i16();
  if (mark == kCurrentLayout || mark == kPruningLayout) {
    read_block(reader, VariableList);
    read_block(reader, AliasList);
    read_block(reader, BandSourceList);
    if (mark == kPruningLayout) prune();
  } else {
    reader.seek(start);
    read_oldest_layout(reader);
  }
  flip_old_convention();
}

void TvtDataDictionary::read_oldest_layout(ByteReader& reader) {
  // Entries are keyed " " + name in AliasList only while the names are read.
  const int32_t count = reader.read_i32();
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t kind = reader.read_u8();
    const int32_t number = reader.read_i32();
    const std::string a = read_short_string(reader);
    const std::string b = read_short_string(reader);
    const std::string c = read_short_string(reader);
    std::string value;
    if (kind == 1) value = a + ".\"" + b + "\"";
    if (kind == 2) value = number == 1 ? b : system_variable_name(number);
    AliasList.SetVariable(" " + c, Value(std::move(value)));
  }
  for (const std::string& name : reader.read_string_list()) {
    if (name.empty() || is_category(name)) {
      VariableList.SetVariable(name, AliasList.GetVariable(name));
    } else {
      VariableList.SetVariable(name, Value(std::string()));
    }
  }
  AliasList.Clear();
}

// Drops aliases of names that no longer resolve and band sources without a value. A name
// that is a dataset of the owner keeps its alias: dataset aliases are not fields.
void TvtDataDictionary::prune() {
  std::vector<std::string> datasets;
  if (resolver_) datasets = resolver_->dataset_names();
  const auto is_dataset = [&](const std::string& name) {
    return std::any_of(datasets.begin(), datasets.end(),
                       [&](const std::string& d) { return same_name(d, name); });
  };
  TvtVariables aliases;
  for (const TVariable& entry : AliasList.Items()) {
    if (!value_text(entry.value).empty() && !is_dataset(entry.name) && !resolve(entry.name)) {
      continue;
    }
    aliases.SetVariable(entry.name, entry.value);
  }
  AliasList = std::move(aliases);

  TvtVariables sources;
  for (const TVariable& entry : BandSourceList.Items()) {
    if (!value_text(entry.value).empty()) sources.SetVariable(entry.name, entry.value);
  }
  BandSourceList = std::move(sources);
}

// Older files marked variables with a leading blank and left categories bare.
void TvtDataDictionary::flip_old_convention() {
  const std::string first = VariableList.NameAt(0);
  if (first.empty() || is_category(first)) return;
  TvtVariables flipped;
  for (const TVariable& entry : VariableList.Items()) {
    std::string name = entry.name;
    if (is_category(name)) {
      name.erase(0, 1);
    } else if (!name.empty()) {
      name.insert(0, 1, ' ');
    }
    flipped.SetVariable(name, entry.value);
  }
  VariableList = std::move(flipped);
}

void TvtDataDictionary::SaveToStream(ByteWriter& writer) const {
  writer.write_i16(kCurrentLayout);
  write_block(writer, VariableList);
  write_block(writer, AliasList);
  write_block(writer, BandSourceList);
}

}  // namespace zr
