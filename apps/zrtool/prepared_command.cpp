// zrtool prepared dump: the pages of a prepared report (.zrw) and the objects on them as
// stable text, one item a line, for reading and for golden files:
//
//   pages 2
//   page 1: size 9 2100x2970 orientation 0 bin 65535 margins 0 0 0 0 use-margins 1
//     TvtMemoView "Memo1" at 10 20 size 200 18 flags 3 frame 15 1 $00000000 0 fill $1FFFFFFF
//       font "Arial" 10 style 0 color $00000000 charset 1 alignment 0
//       line "Hello"
//
// A chart adds its kind and points: "chart bar categories "East" "West"", then a
// "series "Title" 1 2.5 -" line per series ("-" where a series has no point).
//
// Texts are UTF-8 in double quotes; a backslash, a double quote, a control byte and a byte
// that does not convert from the code page are written as \\, \", \xNN.
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/picture_view.h"
#include "engine/model/subreport_view.h"
#include "objects/chart_view.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "tool_engine.h"

namespace zr::tool {
namespace {

std::string hex(int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<uint32_t>(value));
  return buffer;
}

std::string escaped_byte(unsigned char byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\x%02X", byte);
  return buffer;
}

std::string quoted(const std::string& ansi, int code_page) {
  std::string out = "\"";
  for (size_t i = 0; i < ansi.size();) {
    size_t length = char_length(ansi, i, code_page);
    std::string character = ansi.substr(i, length);
    unsigned char first = static_cast<unsigned char>(character[0]);
    std::string utf8 = ansi_to_utf8(character, code_page);
    if (character == "\\" || character == "\"") {
      out += "\\" + character;
    } else if (first < 0x20 || first == 0x7F || utf8_to_ansi(utf8, code_page) != character) {
      for (char byte : character) out += escaped_byte(static_cast<unsigned char>(byte));
    } else {
      out += utf8;
    }
    i += length;
  }
  return out + "\"";
}

std::string number(double value) {
  if (std::isnan(value)) return "-";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

void print_chart(const TvtChartView& chart, int code_page, std::ostream& out) {
  static const char* const kKinds[] = {
      "bar",  "stacked-bar", "horizontal-bar", "stacked-horizontal-bar",
      "line", "area",        "point",          "pie"};
  out << "    chart "
      << (chart.ChartKind <= ckLastKind ? kKinds[chart.ChartKind] : std::to_string(chart.ChartKind))
      << " categories";
  for (const std::string& category : chart.Data.categories)
    out << ' ' << quoted(category, code_page);
  out << '\n';
  for (size_t s = 0; s < chart.Series.size(); ++s) {
    out << "    series " << quoted(chart.Series[s].Title, code_page);
    for (size_t c = 0; c < chart.Data.categories.size(); ++c)
      out << ' ' << number(chart.Data.At(s, c));
    out << '\n';
  }
}

void print_view(TvtView& view, int code_page, std::ostream& out) {
  out << "  " << view.ClassName() << ' ' << quoted(view.Name, code_page) << " at " << view.Left
      << ' ' << view.Top << " size " << view.Width << ' ' << view.Height << " flags " << view.Flags
      << " frame " << view.FrameTyp << ' ' << view.FrameWidth << ' ' << hex(view.FrameColor) << ' '
      << view.FrameStyle << " fill " << hex(view.FillColor) << '\n';
  if (auto* memo = dynamic_cast<TvtMemoView*>(&view)) {
    const TvtMemoFont& f = memo->Font;
    out << "    font " << quoted(f.Name, code_page) << ' ' << f.Size << " style " << f.Style
        << " color " << hex(f.Color) << " charset " << int(f.Charset) << " alignment "
        << memo->Alignment << '\n';
  }
  if (auto* picture = dynamic_cast<TvtPictureView*>(&view)) {
    const Picture& p = picture->Picture;
    out << "    picture " << graphic_kind_name(p.kind()) << ' ' << p.width() << ' ' << p.height()
        << " bytes " << p.bytes().size() << '\n';
  }
  if (auto* chart = dynamic_cast<TvtChartView*>(&view)) print_chart(*chart, code_page, out);
  if (auto* sub = dynamic_cast<TvtSubReportView*>(&view))
    out << "    subpage " << sub->SubPage << '\n';
  if (view.Restrictions || !view.Tag.empty())
    out << "    restrictions " << view.Restrictions << " tag " << quoted(view.Tag, code_page)
        << '\n';
  if (!view.LinkUrl.empty() || !view.DrillData.empty() || !view.DrillFile.empty())
    out << "    link " << quoted(view.LinkUrl, code_page) << " drill "
        << quoted(view.DrillData, code_page) << ' ' << quoted(view.DrillFile, code_page) << '\n';
  for (const std::string& line : view.Memo) out << "    line " << quoted(line, code_page) << '\n';
}

void print_page(TvtEMFPages& pages, int index, int code_page, std::ostream& out) {
  TvtPreparedPage& page = pages.PageInfo(index);
  out << "page " << index + 1 << ": size " << page.PageSize << ' ' << page.PageWidth << 'x'
      << page.PageHeight << " orientation " << int(page.Orientation) << " bin " << page.Bin
      << " margins " << page.LeftMargin << ' ' << page.TopMargin << ' ' << page.RightMargin << ' '
      << page.BottomMargin << " use-margins " << int(page.UseMargins) << '\n';
  pages.ObjectsToPage(index);
  for (const auto& view : page.Page->Objects) print_view(*view, code_page, out);
  page.Page.reset();
}

}  // namespace

int run_prepared_command(const std::vector<std::string>& args, std::ostream& out) {
  int code_page = kDefaultAnsiCodePage;
  std::vector<std::string> rest = parse_options(
      args, {{"--code-page", [&](const std::string& v) { code_page = parse_code_page(v); }}});
  if (rest.size() != 2 || rest[0] != "dump") throw ZorelError("give dump FILE.zrw");
  ToolEngine engine;
  TvtReport report("prepared");
  engine.load_prepared(report, rest[1]);
  TvtEMFPages& pages = report.EMFPages;
  out << "pages " << pages.Count() << '\n';
  for (int i = 0; i < pages.Count(); ++i) print_page(pages, i, code_page, out);
  out.flush();
  return out ? 0 : 1;
}

}  // namespace zr::tool
