#pragma once
// Option parsing shared by the zrtool subcommands: "--name VALUE" options, each handled by a
// callback, and the remaining positional arguments. Unknown options and missing values raise
// ZorelError, which zrtool prints with exit status 1.

#include <functional>
#include <string>
#include <vector>

namespace zr::tool {

struct Option {
  const char* name;  // with its dashes, e.g. "--index"
  std::function<void(const std::string& value)> take;
};

// Returns the positional arguments in order.
std::vector<std::string> parse_options(const std::vector<std::string>& args,
                                       const std::vector<Option>& options);

// A code page number such as 949; raises ZorelError for anything else.
int parse_code_page(const std::string& text);

}  // namespace zr::tool
