#include "command_line.h"

#include <charconv>
#include <sstream>

#include "platform/codepage.h"
#include "viewer/export_filter_set.h"
#include "viewer/viewer_dispatch.h"

namespace zr::host {
namespace {

bool is_window_name(std::string_view name) {
  return same_text_ascii(name, kHostPageOption) || same_text_ascii(name, "Window");
}

// "--Name=VALUE" or "--Name VALUE" starting at args[i]; advances i past what it took.
PropertySetting take_setting(const std::vector<std::string>& args, size_t& i) {
  std::string_view option = std::string_view(args[i]).substr(2);
  PropertySetting setting;
  if (size_t equals = option.find('='); equals != std::string_view::npos) {
    setting.name = std::string(option.substr(0, equals));
    setting.value = std::string(option.substr(equals + 1));
  } else {
    if (i + 1 >= args.size())
      throw UsageError("option --" + std::string(option) + " needs a value");
    setting.name = std::string(option);
    setting.value = args[++i];
  }
  if (setting.name.empty()) throw UsageError("option '" + args[i] + "' has no name");
  if (is_window_name(setting.name)) {
    setting.name = "Window";
    setting.host_page = true;
  }
  return setting;
}

// The value of --time-limit: a number of seconds above 0.
double time_limit_seconds(const std::string& value) {
  double seconds = 0;
  const char* end = value.data() + value.size();
  auto [stop, error] = std::from_chars(value.data(), end, seconds);
  if (value.empty() || error != std::errc() || stop != end || !(seconds > 0) ||
      seconds > kMaxTimeLimit)
    throw UsageError("--" + std::string(kTimeLimitOption) +
                     " takes a number of seconds above 0, not '" + value + "'");
  return seconds;
}

const char* type_label(const DispMember& member) {
  switch (member.type) {
    case DispType::String:
      return "text";
    case DispType::Int32:
      return "integer";
    case DispType::Int16:
      return "16-bit integer";
    case DispType::Int8:
      return "8-bit integer";
    case DispType::Bool:
      return "boolean (0/1, true/false)";
    case DispType::Color:
      return "colour";
    case DispType::Enum:
      return "enumeration 0..";
    case DispType::Font:
      return "font face name";
    case DispType::Unknown:
      return "host page address (as --host-page)";
    case DispType::None:
      break;
  }
  return "";
}

// `text` in lines of at most `width` columns, each indented by `indent`.
std::string wrapped(std::string_view text, size_t indent, size_t width) {
  std::string out, line;
  std::istringstream words{std::string(text)};
  for (std::string word; words >> word;) {
    if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
      out += std::string(indent, ' ') + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) out += std::string(indent, ' ') + line + "\n";
  return out;
}

std::string access_label(const DispMember& member) {
  if (!member.can_put()) return "read only";
  if (!member.can_get()) return "put only";
  return "";
}

// A property a command-line user sets, as --help explains it.
struct PropertyHelp {
  std::string_view name;
  std::string_view value;    // what the value is: URL, LIST, TICKS ...
  std::string_view meaning;  // with its unit and default
  std::vector<std::string_view> examples = {};
};

const std::vector<PropertyHelp>& command_line_properties() {
  static const std::vector<PropertyHelp> properties = {
      {"ReportFile", "URL",
       "address of the report form (.zrf): http://, https:// or file://; a plain path is a "
       "local file. Needed by every command but clear-history."},
      {"dataFile", "URL",
       "address of the data page, whose data sections each end with a line DATANAME=name; a "
       "plain path is a local file. Default: none (the form and DataMeta alone)."},
      {"Params",
       "LIST",
       "report variables as NAME=VALUE items separated by \"|\". A value is an expression of "
       "the report language, so a text goes in single quotes; an item in double quotes may "
       "hold \"|\" (\"\" inside is one quote). Items naming no variable of the form are "
       "ignored. Default: none. Quote the whole option for the shell:",
       {"--Params \"Title='3월 매출'|Year=2026\""}},
      {"DataMeta", "TEXT",
       "more data sections, written as in the data page; a section of the same name replaces "
       "the page's. Default: none."},
      {"GridMeta", "TEXT",
       "contents of grid objects: sections each ending with a line GRIDNAME=name. Default: "
       "none."},
      {"ImageFile", "LIST",
       "pictures as VIEW=PATH items separated by \"|\"; a missing file is skipped. Default: "
       "none."},
      {"TimeOut", "TICKS",
       "how long each download (form, data page, pictures) may take, in ticks of 100 ms; "
       "values below 10 mean 600 (one minute). A download that stalls gives up after 30 "
       "seconds. Default: 0 (one minute)."},
      {"publ", "0|1", "1: no message for \"Time out.\" and \"SERVER ERROR.\". Default: 0."},
      {"Acl", "0|1", "1: the host refuses the user and nothing loads. Default: 0."},
      {"Progress", "0|1", "1: run silently, without the progress line on a terminal. Default: 0."},
      {"History", "0|1",
       "1: keep every run as a prepared report in the History folder of the work folder. "
       "Default: 0."},
      {"InHtml", "TEXT",
       "\"1\": show the report inside the control, anything else: in a preview window (no "
       "difference without a window). Default: empty."},
  };
  return properties;
}

bool is_command_line_property(std::string_view name) {
  for (const PropertyHelp& property : command_line_properties())
    if (same_text_ascii(property.name, name)) return true;
  return false;
}

}  // namespace

const std::vector<HostCommand>& host_commands() {
  static const std::vector<HostCommand> commands = {
      {"preview", "PreviewReport", 0, 0, "",
       "load and prepare the report and show it in the preview window \"Zorel Preview\" "
       "when a display is there (returns when the window is closed); with --headless or "
       "without a display nothing is shown"},
      {"print", "PrintReport", 0, 0, "",
       "load and prepare the report and print every page once through CUPS, on the printer "
       "the form names when that queue is installed, else on the default queue (see "
       "Printing below); with no queue, or a server that does not answer, nothing is printed "
       "and Log says why"},
      {"save", "SaveImage", 1, 2, "TYPE [NAME]",
       "load, prepare and export: TYPE 0 PDF, 1 RTF, 2 HTML, 3 JPEG, 4 GIF, 5 BMP, 6 EMF, "
       "7 WMF, 8 text, 9 CSV, 10 Excel (HTML and the pictures write a file per page beside "
       "NAME); a "
       "relative NAME is taken in the current folder, no NAME writes ZorelImage.EXT in the work "
       "folder"},
      {"mail", "SendEMail", 1, 2, "TYPE [NAME]",
       "export as save does and hand the files it wrote to the mail client"},
      {"get-file", "GetFile", 0, 0, "", "download the form and its data file"},
      {"clear-history", "ClearHistory", 0, 0, "", "delete the history files"},
  };
  return commands;
}

const HostCommand* find_command(std::string_view word) {
  for (const HostCommand& entry : host_commands())
    if (same_text_ascii(word, entry.word) || same_text_ascii(word, entry.method)) return &entry;
  return nullptr;
}

CommandLine parse_command_line(const std::vector<std::string>& args) {
  CommandLine line;
  std::vector<std::string> positional;
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!options_ended && (arg == "--help" || arg == "-h")) {
      line.help = true;
    } else if (!options_ended && arg == kHeadlessOption) {
      line.headless = true;
    } else if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && arg.starts_with("--")) {
      PropertySetting setting = take_setting(args, i);
      if (same_text_ascii(setting.name, kTimeLimitOption)) {
        line.time_limit = time_limit_seconds(setting.value);
      } else {
        line.settings.push_back(std::move(setting));
      }
    } else {
      positional.push_back(arg);  // "-1" is an argument: ImageType is signed
    }
  }
  if (!positional.empty() && same_text_ascii(positional[0], "help")) line.help = true;
  if (line.help) return line;
  if (positional.empty()) throw UsageError("no command given");
  line.command = find_command(positional[0]);
  if (!line.command) throw UsageError("unknown command '" + positional[0] + "'");
  line.arguments.assign(positional.begin() + 1, positional.end());
  const HostCommand& entry = *line.command;
  if (line.arguments.size() < entry.min_arguments || line.arguments.size() > entry.max_arguments) {
    std::string usage = entry.usage.empty() ? "no arguments" : std::string(entry.usage);
    throw UsageError(std::string(entry.word) + " takes " + usage + ", not " +
                     std::to_string(line.arguments.size()) + " argument(s)");
  }
  return line;
}

std::string image_type_list() {
  std::string list;
  for (size_t i = 0; i < image_types().size(); ++i)
    list += (i ? ", " : "") + std::to_string(i) + " " + std::string(image_types()[i].title);
  return list;
}

std::string help_text() {
  std::ostringstream text;
  text << "usage: zrviewer [--Property VALUE]... [--host-page URL] COMMAND [ARGS]\n"
          "       zrviewer --help\n\n"
          "Runs the report viewer control without a window: sets its properties, calls one\n"
          "of its methods and prints its Log. preview opens the preview window when a\n"
          "display is there (else it prepares the report without showing it); print\n"
          "sends it to a CUPS printer.\n\n"
          "Commands (or the method's own name):\n";
  for (const HostCommand& entry : host_commands()) {
    std::string head =
        std::string(entry.word) + (entry.usage.empty() ? "" : " ") + std::string(entry.usage);
    text << "  " << head << std::string(head.size() < 20 ? 20 - head.size() : 1, ' ')
         << entry.method << "\n"
         << wrapped(entry.summary, 22, 80);
  }
  text << "\nProperties for a command line (--Name VALUE or --Name=VALUE; names ignore case):\n";
  for (const PropertyHelp& property : command_line_properties()) {
    std::string head = "--" + std::string(property.name) + " " + std::string(property.value);
    text << "  " << head << std::string(head.size() < 20 ? 20 - head.size() : 1, ' ')
         << wrapped(property.meaning, 22, 80).substr(22);
    for (std::string_view example : property.examples)
      text << std::string(24, ' ') << example << "\n";
  }
  text << "\nOther properties of the control (the same option form):\n";
  for (const DispMember& member : viewer_members()) {
    if (member.kind != MemberKind::Property || is_command_line_property(member.name)) continue;
    std::string type = type_label(member);
    if (member.type == DispType::Enum) type += std::to_string(member.enum_count - 1);
    std::string access = access_label(member);
    std::string name(member.name);
    text << "  " << name << std::string(name.size() < 24 ? 24 - name.size() : 1, ' ') << type
         << (access.empty() ? "" : ", " + access) << "\n";
  }
  text << "\nOptions:\n"
          "  --host-page URL     the host page's window: SiteRoot follows its address and\n"
          "                      links open with xdg-open (--Window URL does the same)\n"
          "  --headless          preview shows no window, even with a display\n"
          "  --time-limit SECONDS\n"
          "                      end the whole run after SECONDS: Log says so, exit status 1\n"
          "  --help, -h, help    this text\n"
          "  --                  ends the options: what follows is the command and its\n"
          "                      arguments, even when it starts with \"-\"\n\n"
          "Examples:\n"
          "  Save a report served by a web server as PDF, with its title set:\n"
          "    zrviewer --ReportFile http://127.0.0.1:8000/stock.zrf \\\n"
          "      --dataFile http://127.0.0.1:8000/stock.html \\\n"
          "      --Params \"Title='3월 재고 현황'|Warehouse='제2창고'\" save 0 stock.pdf\n"
          "  Prepare a form and data page from local files and print its text:\n"
          "    zrviewer --ReportFile sales.zrf --dataFile examples/sales/data_page.html \\\n"
          "      --Progress 1 save 8 sales.txt\n\n"
          "Printing: the CUPS server is the one every CUPS client uses ($CUPS_SERVER,\n"
          "~/.cups/client.conf, /etc/cups/client.conf, else the local one). The queue is the\n"
          "form's PrinterName when the server has a queue of that name (the load always\n"
          "clears the form's PrintToDefault, as the control does), else the default queue:\n"
          "$LPDEST or $PRINTER, then lpoptions -d, then the server's default, then the first\n"
          "queue. The server gets a PDF (PostScript for a queue that takes only that) drawn at\n"
          "the queue's resolution, one job per paper size, named after the report's title.\n\n"
          "Exit status: 0 when Log is empty, 1 when Log records a failure (printed on\n"
          "stdout), 2 when the control fails a property or method (its failure code and\n"
          "message on stderr) or TYPE has no export format, 64 for a malformed command line.\n"
          "Details behind a Log line (the address and HTTP status of a failed download) and\n"
          "warnings (data that no band of the form uses) go to stderr; on a terminal, stderr\n"
          "also shows the progress of the run on one line.\n"
          "The work folder is $ZOREL_HOME, or ~/Zorel when that is not set.\n";
  return text.str();
}

}  // namespace zr::host
