// zrtool data: loads a data packet (or a data section file) and prints its fields, then its
// rows as CSV in UTF-8, optionally ordered by an index.
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"
#include "table_printer.h"

namespace zr::tool {
namespace {

struct DataArguments {
  std::string file;
  std::string index_fields;
  std::string descending_fields;
  int code_page = kDefaultAnsiCodePage;
};

DataArguments parse_arguments(const std::vector<std::string>& args) {
  DataArguments parsed;
  std::vector<std::string> files = parse_options(
      args,
      {{"--index", [&](const std::string& v) { parsed.index_fields = v; }},
       {"--desc", [&](const std::string& v) { parsed.descending_fields = v; }},
       {"--code-page", [&](const std::string& v) { parsed.code_page = parse_code_page(v); }}});
  if (files.empty()) throw ZorelError("no file given");
  if (files.size() > 1) throw ZorelError("more than one file given");
  parsed.file = files[0];
  return parsed;
}

}  // namespace

int run_data_command(const std::vector<std::string>& args, std::ostream& out) {
  DataArguments arguments = parse_arguments(args);
  DataPacketOptions options;
  options.code_page = arguments.code_page;
  ClientDataset table("data");
  table.load_from_file(arguments.file, options);
  if (!arguments.index_fields.empty() || !arguments.descending_fields.empty()) {
    // --desc alone orders by the descending fields.
    std::string fields =
        arguments.index_fields.empty() ? arguments.descending_fields : arguments.index_fields;
    table.add_index("zrtool", fields, {}, arguments.descending_fields);
    table.set_index_name("zrtool");
  }
  print_field_list(table, out);
  print_rows(table, out);
  out.flush();
  return out ? 0 : 1;
}

}  // namespace zr::tool
