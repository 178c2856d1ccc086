// zrtool prepare: runs a report form over data packets as the viewer does and writes the
// prepared report (.zrw), optionally dumping it like `zrtool prepared dump`.
//
//   zrtool prepare FORM.zrf [--data NAME=PACKET]... [--var NAME=VALUE]... -o OUT.zrw [--dump]
//
// Every --data loads a client dataset NAME (with its data source "DS" + NAME) and puts a
// report dataset "dataset" + NAME over it in the report's owner; the last one is also the
// report's own Dataset, which master bands that name no dataset walk. The form's relation
// records then link them, and chart views read the datasets they name. A --var VALUE is an
// expression, as dictionary variables hold them (quote a text: --var "Title='Sales'"). Datasets
// that bands name but no --data filled, --data that no band uses and master bands that printed
// nothing are warnings on stderr.
#include <filesystem>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "engine/run/db_dataset.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/text_lines.h"
#include "tool_engine.h"
#include "viewer/chart_object.h"
#include "viewer/data_use_check.h"
#include "viewer/section_datasets.h"

namespace zr::tool {
namespace {

struct PrepareArguments {
  std::string form;
  std::vector<std::string> data, variables;  // NAME=VALUE
  std::string output;
  bool dump = false;
};

PrepareArguments parse(const std::vector<std::string>& args) {
  PrepareArguments parsed;
  std::vector<std::string> rest =
      parse_options(args, {{"--data", [&](const std::string& v) { parsed.data.push_back(v); }},
                           {"--var", [&](const std::string& v) { parsed.variables.push_back(v); }},
                           {"-o", [&](const std::string& v) { parsed.output = v; }},
                           Switch("--dump", [&] { parsed.dump = true; })});
  if (rest.size() != 1 || parsed.output.empty()) throw ZorelError("give FORM.zrf -o OUT.zrw");
  parsed.form = rest[0];
  return parsed;
}

std::pair<std::string, std::string> split_assignment(const std::string& text, const char* option) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0)
    throw ZorelError(std::string(option) + " takes NAME=VALUE, not '" + text + "'");
  return {text.substr(0, equals), text.substr(equals + 1)};
}

// Prepares and writes the prepared report; the engine is gone when it returns.
void prepare(const PrepareArguments& arguments) {
  ToolEngine engine;
  SectionDatasets sections;
  std::vector<std::unique_ptr<TvtDBDataSet>> datasets;
  TvtReport report("Report");
  engine.load_form(report, read_file(arguments.form), arguments.form);

  TvtComponentContainer& owner = report.OwnerContainer();
  std::vector<std::string> names;
  for (const std::string& item : arguments.data) {
    const auto [name, file] = split_assignment(item, "--data");
    names.push_back(name);
    ClientDataset& table = sections.load_section(name, file);
    auto dataset = std::make_unique<TvtDBDataSet>("dataset" + name);
    dataset->SetDataSet(&table);
    owner.Insert(&table);
    if (DataSource* source = sections.find_source("DS" + name)) owner.Insert(source);
    owner.Insert(dataset.get());
    // As in the viewer, the report's own dataset is the last section's.
    report.Dataset = dataset.get();
    datasets.push_back(std::move(dataset));
  }
  sections.apply_relations(report.Relations);
  TvtChartObject::BindChartViews(report, owner);
  for (const std::string& item : arguments.variables) {
    const auto [name, value] = split_assignment(item, "--var");
    report.Dictionary.VariableList.SetVariable(utf8_to_ansi(name), Value(utf8_to_ansi(value)));
  }

  report.OnProgress = [](int) {};
  {
    DataUseCheck data_use(report, names);
    report.PrepareReport();
    // The report is kept as prepared: a form and data that miss each other are worth a word.
    for (const std::string& warning : data_use.warnings())
      std::cerr << "zrtool prepare: warning: " << ansi_to_utf8(warning) << '\n';
  }
  TvtGlobals& g = engine.globals();
  if (g.ErrorFlag) throw ZorelError(ansi_to_utf8(single_line(g.ErrorMessage)));
  if (!report.ErrorText.empty()) throw ZorelError(ansi_to_utf8(single_line(report.ErrorText)));
  report.SavePreparedReport(arguments.output);
  // The report lists components kept here; it lets go of them before they go.
  report.Dataset = nullptr;
  for (auto& dataset : datasets) owner.Remove(dataset.get());
}

}  // namespace

int run_prepare_command(const std::vector<std::string>& args, std::ostream& out) {
  const PrepareArguments arguments = parse(args);
  prepare(arguments);
  if (arguments.dump) return run_prepared_command({"dump", arguments.output}, out);
  return 0;
}

}  // namespace zr::tool
