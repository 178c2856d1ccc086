#include "engine/run/dataset_field.h"

#include <vector>

#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace zr {
namespace {

constexpr size_t kQuotedPartLimit = 255;
constexpr size_t kMaxCuts = 3;

struct FieldPath {
  std::vector<std::string> parts;
  size_t cuts = 0;
};

// Characters of a part met before a double quote stay in front of the quoted rest, so that a
// stray quote cannot turn into a match of some other field.
FieldPath CutFieldPath(std::string_view text) {
  FieldPath path;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') {
      path.parts.push_back(current + std::string(text.substr(i, kQuotedPartLimit)));
      return path;
    }
    if (text[i] == '.') {
      path.parts.push_back(std::move(current));
      current.clear();
      ++path.cuts;
    } else {
      current += text[i];
    }
  }
  if (!current.empty() || path.parts.empty()) path.parts.push_back(std::move(current));
  return path;
}

ClientDataset* AsClientDataset(const std::optional<ComponentRef>& found) {
  if (!found) return nullptr;
  auto* const* dataset = std::get_if<ClientDataset*>(&*found);
  return dataset ? *dataset : nullptr;
}

std::string Unquoted(std::string name) {
  if (name.size() > 2 && name.front() == '"' && name.back() == '"') {
    return name.substr(1, name.size() - 2);
  }
  return name;
}

}  // namespace

std::string FindDatasetField(std::string_view text, ClientDataset*& dataset,
                             const TvtComponentDirectory& components) {
  const FieldPath path = CutFieldPath(text);
  if (path.cuts > kMaxCuts) {
    dataset = nullptr;
    return {};
  }
  if (path.cuts > 0) {
    const std::vector<std::string> names(path.parts.begin(),
                                         path.parts.begin() + static_cast<long>(path.cuts));
    const std::optional<ComponentRef> found = components.FindPath(names);
    if (path.cuts == 1 && !found) throw ZorelError("Missing " + names[0]);
    dataset = AsClientDataset(found);
  }
  if (!dataset) return {};
  const std::string field =
      path.parts.size() > path.cuts ? Unquoted(path.parts[path.cuts]) : std::string();
  if (field.empty() || !dataset->find_field(field)) return {};
  return field;
}

Value GetFieldValue(ClientDataset& dataset, std::string_view field_name) {
  if (!dataset.is_open()) dataset.open();
  const size_t index = dataset.field_index(field_name);
  const FieldType type = dataset.field(index).type;
  if (type == FieldType::ftLargeint) return Value(dataset.display_text(index));
  Value value = dataset.value(index);
  if (!value.is_null()) return value;
  switch (type) {
    case FieldType::ftSmallint:
    case FieldType::ftInteger:
    case FieldType::ftWord:
    case FieldType::ftFloat:
    case FieldType::ftCurrency:
      return Value(int32_t{0});
    case FieldType::ftString:
      return Value(std::string());
    case FieldType::ftBoolean:
      return Value(false);
    default:
      return value;
  }
}

bool IsBlobField(const ClientDataset* dataset, std::string_view field_name) {
  if (!dataset) return false;
  const std::optional<size_t> index = dataset->find_field(field_name);
  return index && is_blob_field_type(dataset->field(*index).type);
}

}  // namespace zr
