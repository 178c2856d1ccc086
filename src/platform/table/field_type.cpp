#include "platform/table/field_type.h"

#include <array>

namespace zr {

const char* field_type_name(FieldType type) {
  static constexpr std::array<const char*, 37> kNames = {
      "ftUnknown",  "ftString",     "ftSmallint", "ftInteger",     "ftWord",      "ftBoolean",
      "ftFloat",    "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",      "ftDateTime",
      "ftBytes",    "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",      "ftGraphic",
      "ftFmtMemo",  "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftFixedChar", "ftWideString",
      "ftLargeint", "ftDataSet",    "ftGuid",     "ftTimeStamp",   "ftFMTBcd",    "ftShortint",
      "ftByte",     "ftLongWord",   "ftExtended", "ftSingle",      "ftWideMemo",  "ftOraBlob",
      "ftOraClob",
  };
  auto index = static_cast<size_t>(type);
  return index < kNames.size() ? kNames[index] : "ftUnknown";
}

bool is_blob_field_type(FieldType type) {
  switch (type) {
    case FieldType::ftBlob:
    case FieldType::ftMemo:
    case FieldType::ftGraphic:
    case FieldType::ftFmtMemo:
    case FieldType::ftParadoxOle:
    case FieldType::ftDBaseOle:
    case FieldType::ftTypedBinary:
      return true;
    default:
      return false;
  }
}

StorageClass storage_class(FieldType type) {
  using enum FieldType;
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftShortint:
    case ftByte:
    case ftLongWord:
      return StorageClass::Integer;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
    case ftExtended:
    case ftSingle:
      return StorageClass::Real;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      return StorageClass::DateTime;
    case ftBoolean:
      return StorageClass::Boolean;
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
    case ftMemo:
    case ftWideMemo:
    case ftOraClob:
      return StorageClass::Text;
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
      return StorageClass::Bytes;
    case ftDataSet:
      return StorageClass::Nested;
    case ftUnknown:
      return StorageClass::None;
  }
  return StorageClass::None;
}

}  // namespace zr
