#pragma once
// Field types of the table engine, with the classic names that report code and tools show.

#include <cstdint>
#include <string_view>

namespace zr {

enum class FieldType : uint8_t {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftDataSet,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd,
  ftShortint,
  ftByte,
  ftLongWord,
  ftExtended,
  ftSingle,
  ftWideMemo,
  ftOraBlob,
  ftOraClob,
};

// "ftInteger", "ftString", ...; never null.
const char* field_type_name(FieldType type);

// The binary-object kinds that report code treats as blobs (ftBlob, ftMemo, ftGraphic,
// ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary).
bool is_blob_field_type(FieldType type);

// How a type is stored and delivered as a Value; every type falls in exactly one class.
enum class StorageClass : uint8_t {
  Integer,   // Value SmallInt, Integer or Int64 by type
  Real,      // Value Double
  DateTime,  // Value DateTime (days since 30 December 1899)
  Boolean,
  Text,    // ANSI text: strings and text memos
  Bytes,   // raw bytes: binary blobs and pictures, delivered as a String value
  Nested,  // a nested table per row (ftDataSet)
  None,    // nothing stored, always null (ftUnknown)
};

StorageClass storage_class(FieldType type);

}  // namespace zr
