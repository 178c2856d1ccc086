#pragma once
// Relation records: the lines of a report form's Relations list, one master/detail link each,
// written "DETAIL/DSMASTER/index fields/descending fields/master fields".
//
// Fields are separated by "/"; a run of blanks and control characters (code 32 or less),
// alone or next to a "/", is one separator too, so "A/B/C//E" has five fields (the fourth
// empty), "A B" has two, a trailing "/" adds an empty last field and a line of blanks has
// none. A field beginning with a double quote is a quoted string ("" inside is one quote) and
// may hold blanks and "/"; text right after its closing quote starts the next field.
// Applying a record to datasets is the load pipeline's work, not this file's.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

struct RelationRecord {
  std::string detail;             // field 1: the detail client dataset (a section name)
  std::string master_source;      // field 2: the master's data source, "DS" + section name
  std::string index_fields;       // field 3: detail fields matched against the master fields
  std::string descending_fields;  // field 4: empty means ascending
  std::string master_fields;      // field 5: fields of the master dataset
  bool operator==(const RelationRecord&) const = default;
};

// The fields of one line as described above. Never throws.
std::vector<std::string> split_relation_fields(std::string_view line);

// nullopt when the line has fewer than five fields; fields after the fifth are ignored.
std::optional<RelationRecord> parse_relation(std::string_view line);

// The records of every line that has at least five fields, in order.
std::vector<RelationRecord> parse_relations(const std::vector<std::string>& lines);

}  // namespace zr
