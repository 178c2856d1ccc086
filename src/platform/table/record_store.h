#pragma once
// Column storage of one loaded table: one typed vector per field, so a table of many rows
// costs a few bytes per cell instead of a map per row. Internal to the table engine; report
// code reads rows through ClientDataset.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/field_def.h"

namespace zr {

class ClientDataset;

// The cells of one field. Which vector is used depends on the field's StorageClass: Integer
// and Boolean use `ints`, Real and DateTime `reals`, Text and Bytes `bytes`+`ends`, Nested
// `nested`; None stores nothing. `null` has one entry per row in every class.
struct Column {
  std::vector<uint8_t> null;  // 1 = null
  std::vector<int64_t> ints;
  std::vector<double> reals;
  std::string bytes;                                   // all values of the column back to back
  std::vector<uint64_t> ends;                          // end offset in `bytes` of each row's value
  std::vector<std::unique_ptr<ClientDataset>> nested;  // null pointer when the row has none

  Column();
  Column(Column&&) noexcept;
  Column& operator=(Column&&) noexcept;
  ~Column();
};

class RecordStore {
 public:
  RecordStore();
  RecordStore(RecordStore&&) noexcept;
  RecordStore& operator=(RecordStore&&) noexcept;
  ~RecordStore();

  // Adds a field; only valid while the store has no rows.
  void add_field(FieldDef def);
  const std::vector<FieldDef>& fields() const { return fields_; }
  size_t field_count() const { return fields_.size(); }
  size_t row_count() const { return rows_; }

  // Appending: call one set_* (or leave the cell null) for each field, then end_row().
  // Cells of a row not set before end_row() are null.
  void set_int(size_t field, int64_t value);
  void set_real(size_t field, double value);
  void set_bytes(size_t field, std::string_view value);
  void set_nested(size_t field, std::unique_ptr<ClientDataset> table);
  void end_row();

  // Reading; `row` < row_count(), `field` < field_count().
  bool is_null(size_t row, size_t field) const { return columns_[field].null[row] != 0; }
  int64_t int_at(size_t row, size_t field) const { return columns_[field].ints[row]; }
  double real_at(size_t row, size_t field) const { return columns_[field].reals[row]; }
  std::string_view bytes_at(size_t row, size_t field) const;
  ClientDataset* nested_at(size_t row, size_t field) const;

  // Removes every row; fields stay.
  void clear_rows();

  // Notes gathered while loading (fields skipped and why), for tools and logs.
  std::vector<std::string>& notes() { return notes_; }
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  void fill_null(size_t field);

  std::vector<FieldDef> fields_;
  std::vector<Column> columns_;
  std::vector<uint8_t> row_set_;  // per field: a value was set for the row being built
  size_t rows_ = 0;
  std::vector<std::string> notes_;
};

}  // namespace zr
