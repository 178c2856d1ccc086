// zrtool: tools for people who write reports. Each subcommand is a thin layer over library
// functions; errors go to stderr with exit status 1.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"

namespace {

using zr::tool::Command;

constexpr Command kCommands[] = {
    {"data", "FILE [--index FIELDS] [--desc FIELDS] [--code-page N]",
     "print a data packet's fields and rows (CSV, UTF-8)", zr::tool::run_data_command},
    {"page", "PAGE [--data-meta FILE] [--relation LINE]... [--code-page N]",
     "cut a data page into sections as the viewer does and print every dataset",
     zr::tool::run_page_command},
    {"font",
     "FACE [--height N] [--bold] [--italic] [--underline] [--strike-out] [--width N] "
     "[--charset N] [--text TEXT] [--extra N] [--code-page N]",
     "print the installed font a face name resolves to, its metrics and a text's extent",
     zr::tool::run_font_command},
};

int usage() {
  std::fprintf(stderr, "usage: zrtool COMMAND [ARGS]\ncommands:\n");
  for (const Command& command : kCommands)
    std::fprintf(stderr, "  %s %s\n      %s\n", command.name, command.usage, command.summary);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string name = argv[1];
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    try {
      return command.run(std::vector<std::string>(argv + 2, argv + argc), std::cout);
    } catch (const std::exception& e) {
      std::cout.flush();
      std::fprintf(stderr, "zrtool %s: %s\n", command.name, e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "zrtool: unknown command '%s'\n", name.c_str());
  return usage();
}
