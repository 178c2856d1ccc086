#include "table_printer.h"

#include "platform/codepage.h"
#include "platform/table/field_type.h"

namespace zr::tool {
namespace {

std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

bool is_text_memo(FieldType type) {
  return type == FieldType::ftMemo || type == FieldType::ftFmtMemo ||
         type == FieldType::ftWideMemo || type == FieldType::ftOraClob;
}

// Memos print their text (a person reading the tool's output wants it); binary blobs and
// nested tables print their display text, such as "(BLOB)".
std::string cell_text(const ClientDataset& table, size_t field) {
  if (is_text_memo(table.field(field).type) && !table.is_null(field))
    return std::string(table.blob_bytes(field));
  return table.display_text(field);
}

}  // namespace

void print_field_list(const ClientDataset& table, std::ostream& out) {
  for (size_t f = 0; f < table.field_count(); ++f)
    out << ansi_to_utf8(table.field(f).name, table.code_page()) << ' '
        << field_type_name(table.field(f).type) << '\n';
  out << '\n';
}

void print_rows(ClientDataset& table, std::ostream& out, const std::string& lead_header,
                const std::string& lead) {
  auto utf8 = [&](const std::string& ansi) { return ansi_to_utf8(ansi, table.code_page()); };
  if (!lead_header.empty()) out << csv_field(lead_header) << ',';
  for (size_t f = 0; f < table.field_count(); ++f)
    out << (f ? "," : "") << csv_field(utf8(table.field(f).name));
  out << '\n';
  for (table.first(); !table.eof(); table.next()) {
    if (!lead_header.empty()) out << csv_field(lead) << ',';
    for (size_t f = 0; f < table.field_count(); ++f)
      out << (f ? "," : "") << csv_field(utf8(cell_text(table, f)));
    out << '\n';
  }
}

}  // namespace zr::tool
