#pragma once
// The definition of one field of a table: what a data packet's FIELD element declares.

#include <string>

#include "platform/table/field_type.h"

namespace zr {

struct FieldDef {
  std::string name;  // the table's field name (ANSI); unique case-insensitively
  FieldType type = FieldType::ftUnknown;
  int size = 0;           // strings, bytes: width in bytes; BCD: the scale; others 0
  int precision = 0;      // BCD: total digits
  int decimals = 0;       // BCD: digits after the point
  bool required = false;  // the value may not be null (declared; not enforced on load)
  bool read_only = false;
  bool hidden = false;  // present for internal reasons, not meant to be shown
};

}  // namespace zr
