#include "arguments.h"

#include <cctype>

#include "platform/errors.h"
#include "platform/number_text.h"

namespace zr::tool {

std::vector<std::string> parse_options(const std::vector<std::string>& args,
                                       const std::vector<Option>& options) {
  std::vector<std::string> positional;
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    const Option* option = nullptr;
    for (const Option& candidate : options)
      if (arg == candidate.name) option = &candidate;
    if (!option) {
      // "-2 * 3" is more likely an argument than a mistyped option.
      const bool looks_like_argument =
          arg[1] != '-' && !std::isalpha(static_cast<unsigned char>(arg[1]));
      throw ZorelError(
          "unknown option " + arg +
          (looks_like_argument ? " (an argument that starts with - goes after --)" : ""));
    }
    if (option->is_switch) {
      option->take("");
      continue;
    }
    if (i + 1 >= args.size()) throw ZorelError("option " + arg + " needs a value");
    option->take(args[++i]);
  }
  return positional;
}

bool asks_for_help(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

int parse_code_page(const std::string& text) {
  std::optional<int32_t> number = try_str_to_int(text);
  if (!number || *number <= 0) throw ZorelError("bad code page '" + text + "'");
  return *number;
}

}  // namespace zr::tool
