#pragma once
// Option parsing shared by the zrtool subcommands: "--name VALUE" options and "--name"
// switches, each handled by a callback, and the remaining positional arguments. "--" ends the
// options: everything after it is positional, even when it starts with "-". Unknown options
// and missing values raise ZorelError, which zrtool prints with exit status 1.

#include <functional>
#include <string>
#include <vector>

namespace zr::tool {

struct Option {
  const char* name;  // with its dashes, e.g. "--index"
  std::function<void(const std::string& value)> take;
  bool is_switch = false;  // takes no value; `take` gets ""
};

// A switch: an option without a value.
inline Option Switch(const char* name, std::function<void()> set) {
  return {name, [set = std::move(set)](const std::string&) { set(); }, true};
}

// Returns the positional arguments in order.
std::vector<std::string> parse_options(const std::vector<std::string>& args,
                                       const std::vector<Option>& options);

// True when the arguments ask for help ("--help" or "-h" before any "--").
bool asks_for_help(const std::vector<std::string>& args);

// A code page number such as 949; raises ZorelError for anything else.
int parse_code_page(const std::string& text);

}  // namespace zr::tool
