#pragma once
// Ordering of a table's rows by a key of several fields, and matching rows against master
// values. Internal to the table engine.
//
// Cells compare within their column's type: numbers numerically, text and bytes byte-wise
// (or, when asked, with the letters a-z folded, never folding the trail byte of a double-byte
// character), booleans false before true; null sorts before every value. A descending part
// reverses the whole comparison, nulls included.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/table/record_store.h"
#include "platform/value.h"

namespace zr {

struct KeyPart {
  size_t field = 0;
  bool descending = false;
  bool case_insensitive = false;
  friend bool operator==(const KeyPart&, const KeyPart&) = default;
};
using KeySpec = std::vector<KeyPart>;

// Row numbers of `store` ordered by `spec`; rows with equal keys keep their natural order.
std::vector<uint32_t> sort_rows(const RecordStore& store, const KeySpec& spec, int code_page);

// Three-way byte comparison of two texts, optionally folding a-z outside double-byte
// characters of `code_page`.
int compare_text(std::string_view a, std::string_view b, bool case_insensitive, int code_page);

// A master value prepared for comparison with the cells of one detail column, so that the
// comparison agrees with the column's sort order (an integer ID matches a 16-bit or a real ID;
// a number meeting a text column is compared as its text).
class KeyProbe {
 public:
  // Empty when no cell of the column can ever equal `value` (a non-numeric text against a
  // numeric column, any value against a nested column).
  static std::optional<KeyProbe> make(const RecordStore& store, size_t field, const Value& value);

  // <0, 0, >0 as the cell of `row` compares with the probe (ascending sense).
  int compare_cell(const RecordStore& store, size_t row, bool case_insensitive,
                   int code_page) const;

 private:
  enum class Kind : uint8_t { Null, Integer, Real, Text };
  size_t field_ = 0;
  Kind kind_ = Kind::Null;
  int64_t int_ = 0;
  double real_ = 0;
  std::string text_;
};

}  // namespace zr
