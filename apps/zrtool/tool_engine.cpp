#include "tool_engine.h"

#include <fstream>
#include <sstream>

#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/text_lines.h"

namespace zr::tool {

void ToolEngine::use_printer(const std::string& name) {
  TvtPrinter& printer = globals_.printer;
  if (name.empty() || name == printer.printers().back()) return;
  PrinterCapabilities caps;
  caps.driver = "zrtool";
  for (const TPaperInfo& paper : printer.paper_table())
    if (paper.code != kPaperCustom)
      caps.papers.push_back({"paper-" + std::to_string(paper.code), paper.width, paper.height, {}});
  caps.default_paper = 8;  // A4
  printers_.add_printer(ansi_to_utf8(name), caps);
  printer.SetPrinter();
  printer.SetPrinterIndex(printer.IndexOfPrinter(name));
}

void ToolEngine::fail_on_messages(size_t first_call, const std::string& source) const {
  const std::vector<UiCall>& calls = ui_.calls();
  for (size_t i = first_call; i < calls.size(); ++i) {
    if (calls[i].kind != UiCall::Kind::Message) continue;
    throw FormatError(ansi_to_utf8(single_line(calls[i].text)), source);
  }
}

void ToolEngine::load_form(TvtReport& report, std::string_view bytes, const std::string& source) {
  size_t first_call = ui_.calls().size();
  ByteReader reader(bytes, source);
  const TvtReport::FormLoadResult result = report.LoadFromStream(reader);
  if (!result.loaded)
    throw FormatError(source + " is not a report form (" +
                      (result.reason == "empty" ? "empty file" : result.reason) + ")");
  fail_on_messages(first_call, source);
}

void ToolEngine::load_prepared(TvtReport& report, const std::filesystem::path& path) {
  size_t first_call = ui_.calls().size();
  try {
    report.LoadPreparedReport(path);
  } catch (const FormatError& e) {
    // The reader names the file in front of the offset; the sentence names it once.
    std::string reason = e.what();
    if (!e.where().empty() && reason.starts_with(e.where() + ": "))
      reason.erase(0, e.where().size() + 2);
    throw FormatError(path.string() + " is not a prepared report (" + reason + ")");
  }
  fail_on_messages(first_call, path.string());
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw IoError("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw IoError("cannot read " + path.string());
  return bytes.str();
}

void write_file(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw IoError("cannot write " + path.string());
}

}  // namespace zr::tool
