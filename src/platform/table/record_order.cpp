#include "platform/table/record_order.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {
namespace {

template <typename T>
int three_way(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// NaN sorts after every number so that the order stays strict and weak.
int compare_real(double a, double b) {
  bool na = std::isnan(a), nb = std::isnan(b);
  if (na || nb) return three_way<int>(na, nb);
  return three_way(a, b);
}

int compare_cells(const RecordStore& store, size_t field, StorageClass storage, size_t a, size_t b,
                  bool case_insensitive, int code_page) {
  bool null_a = store.is_null(a, field), null_b = store.is_null(b, field);
  if (null_a || null_b) return three_way<int>(!null_a, !null_b);
  switch (storage) {
    case StorageClass::Integer:
    case StorageClass::Boolean:
      return three_way(store.int_at(a, field), store.int_at(b, field));
    case StorageClass::Real:
    case StorageClass::DateTime:
      return compare_real(store.real_at(a, field), store.real_at(b, field));
    case StorageClass::Text:
      return compare_text(store.bytes_at(a, field), store.bytes_at(b, field), case_insensitive,
                          code_page);
    case StorageClass::Bytes:
      return compare_text(store.bytes_at(a, field), store.bytes_at(b, field), false, code_page);
    case StorageClass::Nested:
    case StorageClass::None:
      return 0;
  }
  return 0;
}

unsigned char fold(unsigned char c) {
  return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

}  // namespace

int compare_text(std::string_view a, std::string_view b, bool case_insensitive, int code_page) {
  size_t common = std::min(a.size(), b.size());
  if (!case_insensitive) {
    int c = common == 0 ? 0 : std::char_traits<char>::compare(a.data(), b.data(), common);
    // char_traits<char>::compare uses memcmp, which compares unsigned bytes.
    return c != 0 ? three_way(c, 0) : three_way(a.size(), b.size());
  }
  bool trail_a = false, trail_b = false;
  for (size_t i = 0; i < common; ++i) {
    auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    unsigned char fa = trail_a ? ca : fold(ca), fb = trail_b ? cb : fold(cb);
    if (fa != fb) return three_way(fa, fb);
    trail_a = !trail_a && is_lead_byte(ca, code_page);
    trail_b = !trail_b && is_lead_byte(cb, code_page);
  }
  return three_way(a.size(), b.size());
}

std::vector<uint32_t> sort_rows(const RecordStore& store, const KeySpec& spec, int code_page) {
  std::vector<uint32_t> rows(store.row_count());
  std::iota(rows.begin(), rows.end(), 0u);
  if (spec.empty()) return rows;
  std::vector<StorageClass> storage;
  for (const KeyPart& part : spec)
    storage.push_back(storage_class(store.fields()[part.field].type));
  std::stable_sort(rows.begin(), rows.end(), [&](uint32_t a, uint32_t b) {
    for (size_t i = 0; i < spec.size(); ++i) {
      const KeyPart& part = spec[i];
      int c = compare_cells(store, part.field, storage[i], a, b, part.case_insensitive, code_page);
      if (c != 0) return part.descending ? c > 0 : c < 0;
    }
    return false;
  });
  return rows;
}

std::optional<KeyProbe> KeyProbe::make(const RecordStore& store, size_t field, const Value& value) {
  KeyProbe probe;
  probe.field_ = field;
  if (value.is_null() || value.is_empty()) return probe;  // matches null cells only
  switch (storage_class(store.fields()[field].type)) {
    case StorageClass::Integer:
    case StorageClass::Boolean:
      if (value.is_integer()) {
        probe.kind_ = Kind::Integer;
        probe.int_ = value.raw_int();
        return probe;
      }
      if (value.kind() == ValueKind::Boolean) {
        // Boolean cells hold 0/1; a boolean master value matches by truth.
        probe.kind_ = Kind::Integer;
        probe.int_ = value.raw_int() != 0 ? 1 : 0;
        return probe;
      }
      [[fallthrough]];
    case StorageClass::Real:
    case StorageClass::DateTime:
      try {
        probe.kind_ = Kind::Real;
        probe.real_ = value.to_double();
        return probe;
      } catch (const ZorelError&) {
        return std::nullopt;
      }
    case StorageClass::Text:
    case StorageClass::Bytes:
      probe.kind_ = Kind::Text;
      probe.text_ = value.is_string() ? value.raw_string() : value.to_string();
      return probe;
    case StorageClass::Nested:
    case StorageClass::None:
      return std::nullopt;
  }
  return std::nullopt;
}

int KeyProbe::compare_cell(const RecordStore& store, size_t row, bool case_insensitive,
                           int code_page) const {
  bool cell_null = store.is_null(row, field_);
  if (kind_ == Kind::Null || cell_null) return three_way<int>(!cell_null, kind_ != Kind::Null);
  StorageClass storage = storage_class(store.fields()[field_].type);
  switch (kind_) {
    case Kind::Integer:
      return three_way(store.int_at(row, field_), int_);
    case Kind::Real: {
      double cell = storage == StorageClass::Real || storage == StorageClass::DateTime
                        ? store.real_at(row, field_)
                        : static_cast<double>(store.int_at(row, field_));
      return compare_real(cell, real_);
    }
    case Kind::Text:
      return compare_text(store.bytes_at(row, field_), text_,
                          case_insensitive && storage == StorageClass::Text, code_page);
    case Kind::Null:
      break;
  }
  return 0;
}

}  // namespace zr
