#pragma once
// Prints a client dataset the way zrtool shows tables: one "name type" line per field, a
// blank line, then the rows as CSV (RFC 4180) in UTF-8 with a header line.

#include <ostream>
#include <string>

#include "platform/table/client_dataset.h"

namespace zr::tool {

void print_field_list(const ClientDataset& table, std::ostream& out);
// Prints the rows of the current view from the first; `lead` (when not empty) is written as
// an extra first column of every row, and `lead_header` as its header.
void print_rows(ClientDataset& table, std::ostream& out, const std::string& lead_header = {},
                const std::string& lead = {});

}  // namespace zr::tool
