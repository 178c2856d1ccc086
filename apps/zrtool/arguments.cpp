#include "arguments.h"

#include "platform/errors.h"
#include "platform/number_text.h"

namespace zr::tool {

std::vector<std::string> parse_options(const std::vector<std::string>& args,
                                       const std::vector<Option>& options) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    const Option* option = nullptr;
    for (const Option& candidate : options)
      if (arg == candidate.name) option = &candidate;
    if (!option) throw ZorelError("unknown option " + arg);
    if (i + 1 >= args.size()) throw ZorelError("option " + arg + " needs a value");
    option->take(args[++i]);
  }
  return positional;
}

int parse_code_page(const std::string& text) {
  std::optional<int32_t> number = try_str_to_int(text);
  if (!number || *number <= 0) throw ZorelError("bad code page '" + text + "'");
  return *number;
}

}  // namespace zr::tool
