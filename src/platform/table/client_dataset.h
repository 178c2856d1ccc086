#pragma once
// ClientDataset: an in-memory table loaded from an XML data packet, with a cursor, indexes,
// bookmarks and master/detail links. It takes the place of the classic client dataset
// component: the viewer loads one per data section and the report datasets walk it.
//
// Not thread-safe; the engine is single-threaded. Errors are ZorelError (FormatError and
// IoError from loading). Text is ANSI in the dataset's code page.
//
// Cursor (classic semantics): first() sets bof; next() on the last record leaves the cursor
// there and sets eof; prior() on the first sets bof; last() sets eof. An empty view has
// bof and eof both true and no current record (field values are null).
//
// Order: natural (packet) order unless an index (set_index_name) or a field list
// (set_index_field_names) is current. Sorting is stable; see record_order.h for how cells
// compare.
//
// Master/detail: with a data source whose dataset is set and a non-empty master field list,
// the dataset shows only the rows whose first n key fields equal the master's current values
// of the n master fields, in the current order, and moves to the first of them whenever the
// master moves. The key fields are those of the current index (or index field list); master
// fields beyond the index's fields (all of them when no index is current) are matched against
// the detail fields of the same names. The view is empty while the master is closed, has no
// rows, or has moved past its last record with next().

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/bookmark.h"
#include "platform/table/data_packet_reader.h"
#include "platform/table/field_def.h"
#include "platform/table/record_order.h"
#include "platform/table/record_store.h"
#include "platform/value.h"

namespace zr {

class DataSource;

struct IndexOptions {
  bool descending = false;        // all fields descending when no descending list is given
  bool case_insensitive = false;  // all text fields folded when no such list is given
};

class ClientDataset {
 public:
  explicit ClientDataset(std::string name = {});
  ~ClientDataset();
  ClientDataset(const ClientDataset&) = delete;
  ClientDataset& operator=(const ClientDataset&) = delete;

  const std::string& name() const { return name_; }
  void set_name(std::string name) { name_ = std::move(name); }

  // --- Loading and state ---------------------------------------------------------------
  // Replace whatever is loaded (indexes included; the data source and master fields stay)
  // and leave the dataset open on its first record. FormatError for a malformed packet,
  // IoError when the file cannot be read; on error the dataset is closed.
  void load_from_file(const std::string& path, const DataPacketOptions& options = {});
  void load_from_bytes(std::string_view bytes, const std::string& name_for_errors,
                       const DataPacketOptions& options = {});
  // Takes over rows already read (used for nested tables).
  void load_from_store(RecordStore store, int code_page);

  bool is_open() const { return open_; }
  // No-op when open; a closed dataset has nothing to open and raises ZorelError
  // "<name>: Missing data provider or data packet".
  void open();
  // Releases rows, fields and indexes; the dataset may be loaded again.
  void close();
  // Removes all rows; fields and indexes stay.
  void empty();
  int code_page() const { return code_page_; }
  // Notes from loading, such as fields that could not be read and were left null.
  const std::vector<std::string>& load_notes() const { return store_.notes(); }

  // --- Fields ------------------------------------------------------------------------------
  size_t field_count() const { return store_.field_count(); }
  const FieldDef& field(size_t index) const;  // ZorelError when out of range
  // Case-insensitive (a-z) lookup.
  std::optional<size_t> find_field(std::string_view name) const;
  size_t field_index(std::string_view name) const;  // ZorelError "<ds>: Field 'X' not found"
  std::vector<std::string> field_names() const;

  // --- Cursor ------------------------------------------------------------------------------
  // Moves raise ZorelError on a closed dataset.
  void first();
  void next();
  void prior();
  void last();
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  size_t record_count() const { return view_end_ - view_begin_; }  // rows in the view
  size_t recno() const;  // 1-based position in the view; 0 without a current record

  // --- Current record ------------------------------------------------------------------------
  // Values: SmallInt (ftSmallint, ftShortint, ftByte), Integer (ftInteger, ftWord,
  // ftAutoInc), Int64 (ftLargeint, ftLongWord), Double (floats, currency, BCD), DateTime
  // (date and time kinds), Boolean, String (text and memos as ANSI; binary blobs as their
  // raw bytes); null for a null cell, a nested field or no current record.
  Value value(size_t field) const;
  Value value(std::string_view field_name) const { return value(field_index(field_name)); }
  bool is_null(size_t field) const;
  // The classic display text: numbers and dates formatted by the default format settings,
  // "True"/"False", text as is; blobs and nested tables show their class, "(BLOB)",
  // "(MEMO)", "(GRAPHIC)", "(DATASET)" ... (mixed case when null); "" for other nulls.
  std::string display_text(size_t field) const;
  // Raw bytes of a text or blob cell (pictures without their legacy header); empty for
  // other types. Valid until the dataset is loaded again, emptied or closed.
  std::string_view blob_bytes(size_t field) const;
  // The nested table of an ftDataSet cell, owned by this dataset and valid until it is
  // loaded again, emptied or closed; nullptr when the row has none.
  ClientDataset* nested_dataset(size_t field) const;

  // --- Bookmarks ---------------------------------------------------------------------------
  Bookmark get_bookmark() const;  // null bookmark without a current record
  // ZorelError when the bookmark is not valid, or its record is not in the current view
  // (a detail showing another master's rows).
  void goto_bookmark(const Bookmark& bookmark);
  // Order of the two records in the current order: <0, 0, >0. Null bookmarks sort first.
  int compare_bookmarks(const Bookmark& a, const Bookmark& b) const;
  // Bookmarks are values; freeing just forgets the mark.
  void free_bookmark(Bookmark& bookmark) const { bookmark = Bookmark(); }
  bool bookmark_valid(const Bookmark& bookmark) const;

  // --- Indexes -----------------------------------------------------------------------------
  // `fields`, `descending_fields` and `case_insensitive_fields` are field lists
  // (field_list.h). Descending: the fields in `descending_fields`, or all fields when that
  // list is empty and options.descending is set; the same for case-insensitivity. Raises
  // ZorelError for a duplicate index name (case-insensitive), an empty field list, or an
  // unknown field name (naming the field). `grouping_level` is kept for callers; it does not
  // change the order.
  void add_index(const std::string& name, const std::string& fields, IndexOptions options = {},
                 const std::string& descending_fields = {},
                 const std::string& case_insensitive_fields = {}, int grouping_level = 0);
  void delete_index(const std::string& name);  // ZorelError "Index 'x' not found"
  std::vector<std::string> index_names() const;
  // "" = natural order. Clears the index field names. The cursor stays on its record when
  // the record is still in the view.
  void set_index_name(const std::string& name);
  const std::string& index_name() const { return index_name_; }
  // Orders ascending by a field list; "" clears. Clears the index name unless `fields` is
  // the current list already (so "" leaves a current index alone). Keeps the record.
  void set_index_field_names(const std::string& fields);
  const std::string& index_field_names() const { return index_field_names_; }

  // --- Master/detail -----------------------------------------------------------------------
  // Raises ZorelError "Circular datalinks are not allowed" for a cycle.
  void set_data_source(DataSource* source);
  DataSource* data_source() const { return data_source_; }
  // Raises ZorelError naming a field that the open master or this open dataset lacks.
  void set_master_fields(const std::string& fields);
  const std::string& master_fields() const { return master_fields_; }

 private:
  friend class DataSource;
  struct IndexDef {
    std::string name;
    std::string fields;
    IndexOptions options;
    std::string descending_fields;
    std::string case_insensitive_fields;
    int grouping_level = 0;
  };

  void check_open() const;
  void check_field(size_t field) const;
  std::optional<uint32_t> current_row() const;
  const IndexDef* find_index(std::string_view name) const;
  KeySpec resolve_index(const IndexDef& index) const;
  KeySpec index_key() const;
  std::optional<KeySpec> link_key(KeySpec key) const;
  bool link_active() const;
  void rebuild_view(bool keep_record);
  void refresh_from_master() noexcept;
  void position_at(size_t view_pos);
  void moved();
  void reset_state();
  std::string prefix() const;

  std::string name_;
  RecordStore store_;
  bool open_ = false;
  int code_page_ = kDefaultAnsiCodePage;
  uint64_t generation_ = 1;

  std::vector<IndexDef> indexes_;
  std::string index_name_;
  std::string index_field_names_;

  // The rows in the current order, their inverse (row -> position), and the key they were
  // sorted by; the view is order_[view_begin_, view_end_).
  std::vector<uint32_t> order_;
  std::vector<uint32_t> order_pos_;
  std::optional<KeySpec> order_key_;
  size_t view_begin_ = 0;
  size_t view_end_ = 0;
  size_t cursor_ = 0;  // position in order_, inside the view unless the view is empty
  bool bof_ = true;
  bool eof_ = true;
  bool past_end_ = false;  // next() found no further record

  DataSource* data_source_ = nullptr;
  std::string master_fields_;
  std::vector<DataSource*> sources_;  // data sources that link this dataset as a master
  bool refreshing_ = false;
};

}  // namespace zr
