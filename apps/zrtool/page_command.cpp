// zrtool page: cuts a data page (and optionally a DataMeta text) into data sections the way
// the viewer does, loads every section into its dataset, applies relation records, and prints
// each dataset. A detail dataset is printed once per master record, with the master's record
// number in front. A page without sections and a --relation that links nothing are errors.
#include <stdlib.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "platform/errors.h"
#include "table_printer.h"
#include "viewer/section_cutter.h"
#include "viewer/section_datasets.h"

namespace zr::tool {
namespace {

struct PageArguments {
  std::string page_file;
  std::string data_meta_file;
  std::vector<std::string> relations;
  int code_page = kDefaultAnsiCodePage;
};

PageArguments parse_arguments(const std::vector<std::string>& args) {
  PageArguments parsed;
  std::vector<std::string> pages = parse_options(
      args,
      {{"--data-meta", [&](const std::string& v) { parsed.data_meta_file = v; }},
       {"--relation", [&](const std::string& v) { parsed.relations.push_back(v); }},
       {"--code-page", [&](const std::string& v) { parsed.code_page = parse_code_page(v); }}});
  if (pages.empty()) throw ZorelError("no data page given");
  if (pages.size() > 1) throw ZorelError("more than one data page given");
  parsed.page_file = pages[0];
  return parsed;
}

// A private work folder that is removed whatever happens.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zrtool-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw IoError("cannot create a temporary folder");
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string time_stamp_now() {
  std::time_t now = std::time(nullptr);
  char text[8];
  std::strftime(text, sizeof text, "%H%M%S", std::localtime(&now));
  return text;
}

// A --relation names what the user means to see linked: a line the viewer would skip (too
// few fields, names that are no section) is an error here, not silence.
void apply_relation_option(SectionDatasets& datasets, const std::string& line) {
  const std::optional<RelationRecord> relation = parse_relation(line);
  if (!relation)
    throw ZorelError("--relation '" + line +
                     "' needs five fields: DETAIL/DSMASTER/INDEX FIELDS/DESCENDING FIELDS/"
                     "MASTER FIELDS");
  ClientDataset* detail = datasets.find_dataset(relation->detail);
  if (!detail)
    throw ZorelError("--relation '" + line + "': the page has no section " + relation->detail);
  DataSource* master = datasets.find_source(relation->master_source);
  if (!master)
    throw ZorelError("--relation '" + line + "': " + relation->master_source +
                     " is no data source (DS and the name of a section of the page)");
  apply_relation(*relation, *detail, *master);
}

void print_detail(ClientDataset& detail, std::ostream& out) {
  ClientDataset& master = *detail.data_source()->dataset();
  bool header = true;
  for (master.first(); !master.eof(); master.next()) {
    std::string number = std::to_string(master.recno());
    if (header) {
      print_rows(detail, out, "master#", number);
      header = false;
      continue;
    }
    // Later master records: rows only, the header was printed once.
    std::ostringstream rows;
    print_rows(detail, rows, "master#", number);
    std::string text = rows.str();
    out << text.substr(text.find('\n') + 1);
  }
}

}  // namespace

int run_page_command(const std::vector<std::string>& args, std::ostream& out) {
  PageArguments arguments = parse_arguments(args);
  TemporaryFolder work;
  SectionCutter cutter(WorkFolder(work.path()), time_stamp_now());
  cutter.cut_data_page(read_data_page_file(arguments.page_file));
  if (!arguments.data_meta_file.empty())
    cutter.cut_data_meta(read_data_page_file(arguments.data_meta_file));

  if (cutter.section_names().empty())
    throw ZorelError(arguments.page_file +
                     " holds no data section (the lines of a section end with a line "
                     "DATANAME=name)");

  SectionDatasets datasets;
  DataPacketOptions options;
  options.code_page = arguments.code_page;
  for (const std::string& name : cutter.section_names())
    datasets.load_section(name, cutter.section_file(name), options);
  for (const std::string& line : arguments.relations) apply_relation_option(datasets, line);

  for (const std::string& name : datasets.names()) {
    ClientDataset& table = *datasets.find_dataset(name);
    bool is_detail = table.data_source() && table.data_source()->dataset();
    if (is_detail)
      out << "== " << name << " (detail of " << table.data_source()->name() << ")\n";
    else
      out << "== " << name << " (" << table.record_count() << " rows)\n";
    print_field_list(table, out);
    if (is_detail)
      print_detail(table, out);
    else
      print_rows(table, out);
    out << '\n';
  }
  out.flush();
  return out ? 0 : 1;
}

}  // namespace zr::tool
