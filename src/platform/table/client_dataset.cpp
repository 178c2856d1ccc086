#include "platform/table/client_dataset.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/table/data_source.h"
#include "platform/table/field_list.h"

namespace zr {
namespace {

// The classic class description shown instead of a blob's content.
std::string class_description(FieldType type, bool null) {
  const char* name = "Blob";
  switch (type) {
    case FieldType::ftMemo:
    case FieldType::ftFmtMemo:
    case FieldType::ftOraClob:
      name = "Memo";
      break;
    case FieldType::ftWideMemo:
      name = "WideMemo";
      break;
    case FieldType::ftGraphic:
      name = "Graphic";
      break;
    case FieldType::ftBytes:
      name = "Bytes";
      break;
    case FieldType::ftVarBytes:
      name = "VarBytes";
      break;
    case FieldType::ftDataSet:
      name = "DataSet";
      break;
    default:
      break;
  }
  std::string text = std::string("(") + name + ")";
  return null ? text : upper_ascii(text);
}

// Numbers and dates as the classic fields show them with the default format settings.
std::string display_value_text(FieldType type, const Value& value) {
  if (type == FieldType::ftDate) return date_to_str(value.raw_double());
  if (type == FieldType::ftTime) return time_to_str(value.raw_double());
  return value.to_string();
}

bool is_memo(FieldType type) {
  return type == FieldType::ftMemo || type == FieldType::ftWideMemo || type == FieldType::ftOraClob;
}

}  // namespace

ClientDataset::ClientDataset(std::string name) : name_(std::move(name)) {}

ClientDataset::~ClientDataset() {
  std::vector<DataSource*> sources = sources_;
  for (DataSource* source : sources) {
    source->dataset_ = nullptr;
    source->notify_details();
  }
  if (data_source_) data_source_->remove_detail(this);
}

std::string ClientDataset::prefix() const {
  return name_.empty() ? std::string() : name_ + ": ";
}

// --- Loading and state -----------------------------------------------------------------

void ClientDataset::load_from_file(const std::string& path, const DataPacketOptions& options) {
  close();
  load_from_store(read_data_packet_file(path, options), options.code_page);
}

void ClientDataset::load_from_bytes(std::string_view bytes, const std::string& name_for_errors,
                                    const DataPacketOptions& options) {
  close();
  load_from_store(read_data_packet(bytes, name_for_errors, options), options.code_page);
}

void ClientDataset::load_from_store(RecordStore store, int code_page) {
  reset_state();
  store_ = std::move(store);
  code_page_ = code_page;
  open_ = true;
  refresh_from_master();
}

void ClientDataset::open() {
  if (!open_) throw ZorelError(prefix() + "Missing data provider or data packet");
}

void ClientDataset::close() {
  reset_state();
  moved();
}

void ClientDataset::empty() {
  check_open();
  store_.clear_rows();
  ++generation_;
  order_key_.reset();
  refresh_from_master();
}

void ClientDataset::reset_state() {
  store_ = RecordStore();
  open_ = false;
  ++generation_;
  indexes_.clear();
  index_name_.clear();
  index_field_names_.clear();
  order_.clear();
  order_pos_.clear();
  order_key_.reset();
  view_begin_ = view_end_ = cursor_ = 0;
  bof_ = eof_ = true;
  past_end_ = false;
}

void ClientDataset::check_open() const {
  if (!open_) throw ZorelError(prefix() + "Cannot perform this operation on a closed dataset");
}

// --- Fields ----------------------------------------------------------------------------

void ClientDataset::check_field(size_t field) const {
  check_open();
  if (field >= store_.field_count())
    throw ZorelError(prefix() + "Field index out of range: " + std::to_string(field));
}

const FieldDef& ClientDataset::field(size_t index) const {
  check_field(index);
  return store_.fields()[index];
}

std::optional<size_t> ClientDataset::find_field(std::string_view name) const {
  const auto& fields = store_.fields();
  for (size_t i = 0; i < fields.size(); ++i)
    if (same_text_ascii(fields[i].name, name)) return i;
  return std::nullopt;
}

size_t ClientDataset::field_index(std::string_view name) const {
  if (auto index = find_field(name)) return *index;
  throw ZorelError(prefix() + "Field '" + std::string(name) + "' not found");
}

std::vector<std::string> ClientDataset::field_names() const {
  std::vector<std::string> names;
  for (const FieldDef& def : store_.fields()) names.push_back(def.name);
  return names;
}

// --- Cursor ----------------------------------------------------------------------------

void ClientDataset::first() {
  check_open();
  cursor_ = view_begin_;
  bof_ = true;
  eof_ = view_begin_ == view_end_;
  past_end_ = false;
  moved();
}

void ClientDataset::last() {
  check_open();
  cursor_ = view_begin_ == view_end_ ? view_begin_ : view_end_ - 1;
  eof_ = true;
  bof_ = view_begin_ == view_end_;
  past_end_ = false;
  moved();
}

void ClientDataset::next() {
  check_open();
  if (cursor_ + 1 < view_end_ && !eof_) {
    ++cursor_;
    bof_ = false;
  } else {
    if (view_begin_ != view_end_) bof_ = false;
    eof_ = true;
    past_end_ = true;
  }
  moved();
}

void ClientDataset::prior() {
  check_open();
  if (view_begin_ == view_end_) return;
  eof_ = false;
  past_end_ = false;
  if (cursor_ > view_begin_ && !bof_)
    --cursor_;
  else
    bof_ = true;
  moved();
}

size_t ClientDataset::recno() const {
  return current_row() ? cursor_ - view_begin_ + 1 : 0;
}

std::optional<uint32_t> ClientDataset::current_row() const {
  if (!open_ || view_begin_ == view_end_) return std::nullopt;
  return order_[cursor_];
}

void ClientDataset::position_at(size_t order_pos) {
  cursor_ = order_pos;
  bof_ = eof_ = false;
  past_end_ = false;
  moved();
}

void ClientDataset::moved() {
  std::vector<DataSource*> sources = sources_;
  for (DataSource* source : sources) source->notify_details();
}

// --- Current record --------------------------------------------------------------------

bool ClientDataset::is_null(size_t field) const {
  check_field(field);
  auto row = current_row();
  return !row || store_.is_null(*row, field);
}

Value ClientDataset::value(size_t field) const {
  check_field(field);
  auto row = current_row();
  if (!row || store_.is_null(*row, field)) return Value::null();
  FieldType type = store_.fields()[field].type;
  switch (storage_class(type)) {
    case StorageClass::Integer: {
      int64_t v = store_.int_at(*row, field);
      if (type == FieldType::ftSmallint || type == FieldType::ftShortint ||
          type == FieldType::ftByte)
        return Value::small_int(static_cast<int16_t>(v));
      if (type == FieldType::ftLargeint || type == FieldType::ftLongWord) return Value(v);
      return Value(static_cast<int32_t>(v));
    }
    case StorageClass::Real:
      return Value(store_.real_at(*row, field));
    case StorageClass::DateTime:
      return Value::date_time(store_.real_at(*row, field));
    case StorageClass::Boolean:
      return Value(store_.int_at(*row, field) != 0);
    case StorageClass::Text:
    case StorageClass::Bytes:
      return Value(store_.bytes_at(*row, field));
    case StorageClass::Nested:
    case StorageClass::None:
      return Value::null();
  }
  return Value::null();
}

std::string ClientDataset::display_text(size_t field) const {
  check_field(field);
  FieldType type = store_.fields()[field].type;
  StorageClass storage = storage_class(type);
  bool null = is_null(field);
  if (storage == StorageClass::Bytes || storage == StorageClass::Nested || is_memo(type))
    return class_description(type, null);
  if (null) return {};
  return display_value_text(type, value(field));
}

std::string_view ClientDataset::blob_bytes(size_t field) const {
  check_field(field);
  auto row = current_row();
  StorageClass storage = storage_class(store_.fields()[field].type);
  if (!row || (storage != StorageClass::Text && storage != StorageClass::Bytes)) return {};
  return store_.bytes_at(*row, field);
}

ClientDataset* ClientDataset::nested_dataset(size_t field) const {
  check_field(field);
  auto row = current_row();
  if (!row || storage_class(store_.fields()[field].type) != StorageClass::Nested) return nullptr;
  return store_.nested_at(*row, field);
}

// --- Bookmarks -------------------------------------------------------------------------

Bookmark ClientDataset::get_bookmark() const {
  auto row = current_row();
  return row ? Bookmark(this, generation_, *row) : Bookmark();
}

bool ClientDataset::bookmark_valid(const Bookmark& bookmark) const {
  return open_ && bookmark.owner_ == this && bookmark.generation_ == generation_ &&
         bookmark.row_ < store_.row_count();
}

void ClientDataset::goto_bookmark(const Bookmark& bookmark) {
  check_open();
  if (!bookmark_valid(bookmark)) throw ZorelError(prefix() + "Invalid bookmark");
  size_t pos = order_pos_[bookmark.row_];
  if (pos < view_begin_ || pos >= view_end_)
    throw ZorelError(prefix() +
                     "Record not found: the bookmarked record is not in the current view");
  position_at(pos);
}

int ClientDataset::compare_bookmarks(const Bookmark& a, const Bookmark& b) const {
  if (a.is_null() || b.is_null()) return static_cast<int>(!a.is_null()) - !b.is_null();
  auto position = [&](const Bookmark& m) -> size_t {
    return bookmark_valid(m) ? order_pos_[m.row_] : m.row_;
  };
  size_t pa = position(a), pb = position(b);
  return pa < pb ? -1 : (pa > pb ? 1 : 0);
}

// --- Indexes ---------------------------------------------------------------------------

const ClientDataset::IndexDef* ClientDataset::find_index(std::string_view name) const {
  for (const IndexDef& index : indexes_)
    if (same_text_ascii(index.name, name)) return &index;
  return nullptr;
}

KeySpec ClientDataset::resolve_index(const IndexDef& index) const {
  auto flagged = [&](const std::string& list) {
    std::vector<size_t> fields;
    for (const std::string& name : split_field_list(list)) fields.push_back(field_index(name));
    return fields;
  };
  std::vector<size_t> descending = flagged(index.descending_fields);
  std::vector<size_t> folded = flagged(index.case_insensitive_fields);
  KeySpec key;
  for (const std::string& name : split_field_list(index.fields)) {
    KeyPart part;
    part.field = field_index(name);
    part.descending = descending.empty() ? index.options.descending
                                         : std::find(descending.begin(), descending.end(),
                                                     part.field) != descending.end();
    part.case_insensitive =
        folded.empty() ? index.options.case_insensitive
                       : std::find(folded.begin(), folded.end(), part.field) != folded.end();
    key.push_back(part);
  }
  return key;
}

void ClientDataset::add_index(const std::string& name, const std::string& fields,
                              IndexOptions options, const std::string& descending_fields,
                              const std::string& case_insensitive_fields, int grouping_level) {
  if (name.empty()) throw ZorelError(prefix() + "An index needs a name");
  if (find_index(name)) throw ZorelError(prefix() + "Index '" + name + "' already exists");
  if (split_field_list(fields).empty())
    throw ZorelError(prefix() + "Index '" + name + "' has no fields");
  IndexDef index{name, fields, options, descending_fields, case_insensitive_fields, grouping_level};
  if (open_) resolve_index(index);  // raises for unknown fields
  indexes_.push_back(std::move(index));
}

void ClientDataset::delete_index(const std::string& name) {
  const IndexDef* index = find_index(name);
  if (!index) throw ZorelError(prefix() + "Index '" + name + "' not found");
  bool current = same_text_ascii(index_name_, name);
  indexes_.erase(indexes_.begin() + (index - indexes_.data()));
  if (current) {
    index_name_.clear();
    if (open_) rebuild_view(true);
  }
}

std::vector<std::string> ClientDataset::index_names() const {
  std::vector<std::string> names;
  for (const IndexDef& index : indexes_) names.push_back(index.name);
  return names;
}

void ClientDataset::set_index_name(const std::string& name) {
  if (!name.empty()) {
    const IndexDef* index = find_index(name);
    if (!index) throw ZorelError(prefix() + "Index '" + name + "' not found");
    if (open_) resolve_index(*index);
  }
  index_name_ = name;
  index_field_names_.clear();
  if (open_) rebuild_view(true);
}

void ClientDataset::set_index_field_names(const std::string& fields) {
  // As the classic engine: setting the current list again, "" included, changes nothing and
  // leaves a current index in place.
  if (fields == index_field_names_) return;
  std::vector<std::string> names = split_field_list(fields);
  if (open_)
    for (const std::string& field : names) field_index(field);
  index_field_names_ = names.empty() ? std::string() : fields;
  index_name_.clear();
  if (open_) rebuild_view(true);
}

KeySpec ClientDataset::index_key() const {
  KeySpec key;
  if (!index_name_.empty()) {
    if (const IndexDef* index = find_index(index_name_)) key = resolve_index(*index);
  } else {
    for (const std::string& name : split_field_list(index_field_names_))
      key.push_back(KeyPart{field_index(name), false, false});
  }
  return key;
}

// Master fields beyond the index's fields match the detail fields of the same names.
std::optional<KeySpec> ClientDataset::link_key(KeySpec key) const {
  std::vector<std::string> masters = split_field_list(master_fields_);
  for (size_t i = key.size(); i < masters.size(); ++i) {
    auto field = find_field(masters[i]);
    if (!field) return std::nullopt;
    key.push_back(KeyPart{*field, false, false});
  }
  return key;
}

// --- Master/detail ---------------------------------------------------------------------

bool ClientDataset::link_active() const {
  return data_source_ && data_source_->dataset() && !split_field_list(master_fields_).empty();
}

void ClientDataset::set_data_source(DataSource* source) {
  if (source == data_source_) return;
  for (ClientDataset* up = source ? source->dataset() : nullptr; up;
       up = up->data_source_ ? up->data_source_->dataset() : nullptr)
    if (up == this) throw ZorelError(prefix() + "Circular datalinks are not allowed");
  if (data_source_) data_source_->remove_detail(this);
  data_source_ = source;
  if (source) source->add_detail(this);
  if (open_) refresh_from_master();
}

void ClientDataset::set_master_fields(const std::string& fields) {
  std::vector<std::string> masters = split_field_list(fields);
  ClientDataset* master = data_source_ ? data_source_->dataset() : nullptr;
  if (master && master->is_open())
    for (const std::string& name : masters) master->field_index(name);
  if (master && open_) {
    // Master fields beyond the index's fields need detail fields of the same names.
    for (size_t i = index_key().size(); i < masters.size(); ++i) field_index(masters[i]);
  }
  master_fields_ = fields;
  refresh_from_master();
}

void ClientDataset::rebuild_view(bool keep_record) {
  // The record to stay on, by row number (-1: none).
  int64_t keep = -1;
  if (auto row = current_row(); keep_record && row) keep = *row;
  KeySpec key = index_key();
  bool linked = link_active();
  bool link_usable = true;
  if (linked) {
    // A link that names a missing detail field shows nothing rather than failing a move.
    std::optional<KeySpec> extended = link_key(key);
    link_usable = extended.has_value();
    if (extended) key = std::move(*extended);
  }
  if (!order_key_ || *order_key_ != key) {
    order_ = sort_rows(store_, key, code_page_);
    order_pos_.assign(order_.size(), 0);
    for (size_t i = 0; i < order_.size(); ++i) order_pos_[order_[i]] = static_cast<uint32_t>(i);
    order_key_ = key;
  }
  view_begin_ = 0;
  view_end_ = order_.size();
  if (linked) {
    view_end_ = 0;
    ClientDataset* master = data_source_->dataset();
    std::vector<std::string> masters = split_field_list(master_fields_);
    std::vector<KeyProbe> probes;
    if (link_usable && master->is_open() && master->current_row() && !master->past_end_) {
      for (size_t i = 0; i < masters.size(); ++i) {
        auto field = master->find_field(masters[i]);
        auto probe =
            field ? KeyProbe::make(store_, key[i].field, master->value(*field)) : std::nullopt;
        if (!probe) break;
        probes.push_back(std::move(*probe));
      }
    }
    if (!probes.empty() && probes.size() == masters.size()) {
      auto compare = [&](uint32_t row) {
        for (size_t i = 0; i < probes.size(); ++i) {
          int c = probes[i].compare_cell(store_, row, key[i].case_insensitive, code_page_);
          if (c != 0) return key[i].descending ? -c : c;
        }
        return 0;
      };
      auto lo = std::partition_point(order_.begin(), order_.end(),
                                     [&](uint32_t row) { return compare(row) < 0; });
      auto hi =
          std::partition_point(lo, order_.end(), [&](uint32_t row) { return compare(row) <= 0; });
      view_begin_ = static_cast<size_t>(lo - order_.begin());
      view_end_ = static_cast<size_t>(hi - order_.begin());
    }
  }
  if (keep >= 0 && order_pos_[keep] >= view_begin_ && order_pos_[keep] < view_end_) {
    position_at(order_pos_[keep]);
  } else {
    first();
  }
}

// Follows a change of the master (or of the link). Errors cannot surface here, so a link
// that cannot be evaluated shows nothing.
void ClientDataset::refresh_from_master() noexcept {
  if (refreshing_ || !open_) return;
  refreshing_ = true;
  try {
    rebuild_view(false);
  } catch (...) {
    view_begin_ = view_end_ = cursor_ = 0;
    bof_ = eof_ = true;
    past_end_ = false;
    moved();
  }
  refreshing_ = false;
}

}  // namespace zr
