#pragma once
// Small helpers for table engine tests: packets written inline and column dumps.

#include <string>
#include <vector>

#include "platform/table/client_dataset.h"

namespace zr::testing {

// A data packet with the given FIELD and ROW elements.
inline std::string make_packet(const std::string& fields, const std::string& rows) {
  return R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>)" +
         fields + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

inline void load(ClientDataset& table, const std::string& fields, const std::string& rows) {
  table.load_from_bytes(make_packet(fields, rows), table.name());
}

// The display texts of one field over the view, from the first record; nulls as "-".
inline std::vector<std::string> column(ClientDataset& table, const std::string& field) {
  std::vector<std::string> texts;
  size_t index = table.field_index(field);
  for (table.first(); !table.eof(); table.next())
    texts.push_back(table.is_null(index) ? "-" : table.display_text(index));
  return texts;
}

using Texts = std::vector<std::string>;

}  // namespace zr::testing
