// zrtool data: loads a data packet (or a data section file) and prints its fields, then its
// rows as CSV in UTF-8, optionally ordered by an index.
#include <string>
#include <vector>

#include "commands.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"

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
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto option_value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw ZorelError("option " + arg + " needs a value");
      return args[++i];
    };
    if (arg == "--index") {
      parsed.index_fields = option_value();
    } else if (arg == "--desc") {
      parsed.descending_fields = option_value();
    } else if (arg == "--code-page") {
      const std::string& text = option_value();
      try {
        parsed.code_page = std::stoi(text);
      } catch (const std::exception&) {
        throw ZorelError("bad code page '" + text + "'");
      }
    } else if (!arg.empty() && arg[0] == '-') {
      throw ZorelError("unknown option " + arg);
    } else if (parsed.file.empty()) {
      parsed.file = arg;
    } else {
      throw ZorelError("more than one file given");
    }
  }
  if (parsed.file.empty()) throw ZorelError("no file given");
  return parsed;
}

// RFC 4180: a field holding a comma, a double quote or a line break is quoted, and its
// quotes doubled.
std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
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
  auto utf8 = [&](const std::string& ansi) { return ansi_to_utf8(ansi, arguments.code_page); };
  for (size_t f = 0; f < table.field_count(); ++f)
    out << utf8(table.field(f).name) << ' ' << field_type_name(table.field(f).type) << '\n';
  out << '\n';
  for (size_t f = 0; f < table.field_count(); ++f)
    out << (f ? "," : "") << csv_field(utf8(table.field(f).name));
  out << '\n';
  for (table.first(); !table.eof(); table.next()) {
    for (size_t f = 0; f < table.field_count(); ++f)
      out << (f ? "," : "") << csv_field(utf8(table.display_text(f)));
    out << '\n';
  }
  out.flush();
  return out ? 0 : 1;
}

}  // namespace zr::tool
