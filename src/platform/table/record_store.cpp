#include "platform/table/record_store.h"

#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace zr {

Column::Column() = default;
Column::Column(Column&&) noexcept = default;
Column& Column::operator=(Column&&) noexcept = default;
Column::~Column() = default;

RecordStore::RecordStore() = default;
RecordStore::RecordStore(RecordStore&&) noexcept = default;
RecordStore& RecordStore::operator=(RecordStore&&) noexcept = default;
RecordStore::~RecordStore() = default;

void RecordStore::add_field(FieldDef def) {
  if (rows_ != 0) throw ZorelError("Cannot add a field to a table with rows");
  fields_.push_back(std::move(def));
  columns_.emplace_back();
  row_set_.push_back(0);
}

// A second value for the same cell of the row being built replaces the first.
void RecordStore::set_int(size_t field, int64_t value) {
  Column& c = columns_[field];
  if (row_set_[field]) {
    c.ints.back() = value;
  } else {
    c.ints.push_back(value);
    c.null.push_back(0);
    row_set_[field] = 1;
  }
  c.null.back() = 0;
}

void RecordStore::set_real(size_t field, double value) {
  Column& c = columns_[field];
  if (row_set_[field]) {
    c.reals.back() = value;
  } else {
    c.reals.push_back(value);
    c.null.push_back(0);
    row_set_[field] = 1;
  }
  c.null.back() = 0;
}

void RecordStore::set_bytes(size_t field, std::string_view value) {
  Column& c = columns_[field];
  if (row_set_[field]) {
    c.ends.pop_back();
    c.bytes.resize(c.ends.empty() ? 0 : c.ends.back());
  } else {
    c.null.push_back(0);
    row_set_[field] = 1;
  }
  c.bytes.append(value);
  c.ends.push_back(c.bytes.size());
  c.null.back() = 0;
}

void RecordStore::set_nested(size_t field, std::unique_ptr<ClientDataset> table) {
  Column& c = columns_[field];
  if (row_set_[field]) {
    c.nested.back() = std::move(table);
  } else {
    c.nested.push_back(std::move(table));
    c.null.push_back(0);
    row_set_[field] = 1;
  }
  c.null.back() = c.nested.back() ? 0 : 1;
}

void RecordStore::fill_null(size_t field) {
  Column& c = columns_[field];
  c.null.push_back(1);
  switch (storage_class(fields_[field].type)) {
    case StorageClass::Integer:
    case StorageClass::Boolean:
      c.ints.push_back(0);
      break;
    case StorageClass::Real:
    case StorageClass::DateTime:
      c.reals.push_back(0);
      break;
    case StorageClass::Text:
    case StorageClass::Bytes:
      c.ends.push_back(c.bytes.size());
      break;
    case StorageClass::Nested:
      c.nested.emplace_back();
      break;
    case StorageClass::None:
      break;
  }
}

void RecordStore::end_row() {
  for (size_t f = 0; f < fields_.size(); ++f) {
    if (!row_set_[f]) fill_null(f);
    row_set_[f] = 0;
  }
  ++rows_;
}

std::string_view RecordStore::bytes_at(size_t row, size_t field) const {
  const Column& c = columns_[field];
  uint64_t begin = row == 0 ? 0 : c.ends[row - 1];
  return std::string_view(c.bytes).substr(begin, c.ends[row] - begin);
}

ClientDataset* RecordStore::nested_at(size_t row, size_t field) const {
  return columns_[field].nested[row].get();
}

void RecordStore::clear_rows() {
  for (size_t f = 0; f < columns_.size(); ++f) {
    columns_[f] = Column();
    row_set_[f] = 0;
  }
  rows_ = 0;
}

}  // namespace zr
