#pragma once
// The command line of zrviewer: property settings ("--Name VALUE" or "--Name=VALUE", names as
// the control spells them, in any case), the host page address, and one command that calls
// one of the control's methods. Parsing only checks the shape of the line; names, types and
// values are checked by the control's dispatch table when the line runs, so its errors are
// the control's own.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace zr::host {

// A command line that does not have the shape above (no command, an unknown command, a
// command with the wrong number of arguments, an option without its value).
class UsageError : public ZorelError {
 public:
  explicit UsageError(const std::string& message) : ZorelError(message, ErrorKind::Argument) {}
};

// One command: its word on the command line and the control's method it calls.
struct HostCommand {
  std::string_view word;    // "save"
  std::string_view method;  // "SaveImage"
  size_t min_arguments;
  size_t max_arguments;
  std::string_view usage;  // "TYPE [NAME]"
  std::string_view summary;
};

// Every command, in the order --help lists them.
const std::vector<HostCommand>& host_commands();
// The command for a word: its own word or the method's name, both ignoring case; null when
// there is none.
const HostCommand* find_command(std::string_view word);

struct PropertySetting {
  // The name as written (without dashes). HostPage settings always name "Window".
  std::string name;
  std::string value;  // UTF-8 as given
  // The value is a page address: the control gets a host window showing that page.
  bool host_page = false;

  friend bool operator==(const PropertySetting&, const PropertySetting&) = default;
};

struct CommandLine {
  bool help = false;
  // In the order given; later settings of a name win, as later puts do.
  std::vector<PropertySetting> settings;
  const HostCommand* command = nullptr;
  std::vector<std::string> arguments;  // the command's, UTF-8
  // --time-limit: seconds the whole run may take (time_limit.h).
  std::optional<double> time_limit;
  // --headless: preview shows no window even where a display is there.
  bool headless = false;
};

// The option that gives the host page address (also accepted as --Window).
inline constexpr std::string_view kHostPageOption = "host-page";
// The option that limits the time of the whole run, in seconds above 0 (up to
// kMaxTimeLimit).
inline constexpr std::string_view kTimeLimitOption = "time-limit";
inline constexpr double kMaxTimeLimit = 1e9;
// The option that keeps preview from opening its window.
inline constexpr std::string_view kHeadlessOption = "--headless";

// Parses the arguments after the program name. "--help" or "-h" anywhere before "--", or the
// word "help" as the command, asks for help and needs nothing else. "--" ends the options.
// Raises UsageError.
CommandLine parse_command_line(const std::vector<std::string>& args);

// "0 PDF, 1 RTF, ... 10 Excel": the save and mail TYPEs.
std::string image_type_list();

// The --help text: commands; the properties a command line needs, each with its meaning,
// unit and default; the control's other properties with their types; options; examples.
std::string help_text();

}  // namespace zr::host
