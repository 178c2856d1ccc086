#pragma once
// TvtDataDictionary: the report's named variables (expressions, often dataset fields) in
// categories, aliases of datasets and fields, band data sources, disabled datasets, and a
// cache from resolved names to a dataset field.
//
// VariableList: a name beginning with a blank is a category header; the variables after it,
// up to the next header or an empty name, belong to it; a variable's value is expression
// text. AliasList: real dataset name or "dataset.field" -> alias shown instead; an empty
// alias hides the entry. DisabledDatasetList: names hidden from dataset lists; an entry
// ending in "*" matches every name that begins with the part before it.
//
// The dictionary does not own its resolver, parser or script variables; each may be null
// (no datasets, no expression evaluation, no script variables) and must outlive the
// dictionary's use of it. Not thread-safe.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/data_resolver.h"
#include "engine/model/variables.h"
#include "platform/byte_stream.h"
#include "platform/text_map.h"
#include "platform/value.h"

namespace zr {

class TvtParser;

struct FieldNameParts {
  std::string dataset;
  std::string field;
};

class TvtDataDictionary {
 public:
  // Name keys (name_key) -> cache item.
  using Cache = std::map<std::string, TvtCacheItem>;

  explicit TvtDataDictionary(DataResolver* resolver = nullptr, TvtParser* parser = nullptr,
                             const TvtVariables* script_variables = nullptr)
      : resolver_(resolver), parser_(parser), script_variables_(script_variables) {}

  void SetResolver(DataResolver* resolver) { resolver_ = resolver; }
  // Evaluates the expressions of variables (the report's shared parser).
  void SetParser(TvtParser* parser) { parser_ = parser; }
  // Script variables win over dictionary variables of the same name.
  void SetScriptVariables(const TvtVariables* variables) { script_variables_ = variables; }

  TvtVariables VariableList;
  TvtVariables AliasList;
  TvtVariables BandSourceList;
  std::vector<std::string> DisabledDatasetList;

  // Clears the three variable lists; not the cache nor the disabled datasets.
  void Clear();
  void ClearCache() {
    cache_.clear();
    spelled_.clear();
  }
  // Keeps an existing entry of the same name.
  void AddCacheItem(std::string_view name, DatasetHandle dataset, std::string_view field_name);
  const Cache& FieldCache() const { return cache_; }
  // The cache entry of that name; null when the name is not cached.
  const TvtCacheItem* CachedField(std::string_view name) const;

  // True when the name is a variable or resolves to a dataset field; caches what resolves.
  bool VariableExists(std::string_view name);
  // A cached field's current value (its dataset opened first); a variable's value, where a
  // script variable of the same name wins and a non-empty text is evaluated as an
  // expression; null for anything else. Raises ZorelError when a variable's expression
  // needs evaluating and no parser is set; errors of the evaluation propagate.
  // VariableExists and GetValue in one: a field met before costs one lookup.
  bool TryGetValue(std::string_view name, Value& value);
  Value GetValue(std::string_view name);

  // Splits at the last "." outside double quotes; the field part loses its quotes. nullopt
  // when there is no such ".".
  static std::optional<FieldNameParts> SplitFieldName(std::string_view text);
  // The name of the first alias entry whose alias equals `alias` (ignoring case), else
  // `alias` itself.
  std::string RealDatasetName(std::string_view alias) const;
  // RealDatasetName, then the part after its last ".".
  std::string RealFieldName(std::string_view alias) const;
  bool IsDatasetEnabled(std::string_view name) const;

  // Enabled datasets of the report's owner, sorted; when aliases exist only datasets with a
  // non-empty alias, shown by it.
  std::vector<std::string> GetDatasetList() const;
  // Fields of a dataset (given by name or alias), shown by their aliases where they have
  // one; fields whose alias is empty are left out.
  std::vector<std::string> GetFieldList(std::string_view dataset) const;
  std::vector<std::string> GetCategoryVariables(std::string_view category) const;

  // The dictionary record. Reading accepts the current layout (mark -2), the layout with
  // pruning (-1) and the oldest one; FormatError when the record ends early. Writing always
  // uses the current layout; ZorelError when a text is too long for it.
  void LoadFromStream(ByteReader& reader);
  void SaveToStream(ByteWriter& writer) const;

 private:
  std::optional<TvtCacheItem> resolve(std::string_view text) const;
  void read_oldest_layout(ByteReader& reader);
  void prune();
  void flip_old_convention();

  DataResolver* resolver_;
  TvtParser* parser_;
  const TvtVariables* script_variables_;
  Cache cache_;
  // Entries of cache_ by the name as it was asked for: fields are read for every record and
  // print, and their names come in few spellings. Entries of cache_ never change, so copies
  // stay true until the cache is cleared.
  TextMap<TvtCacheItem> spelled_;
};

}  // namespace zr
