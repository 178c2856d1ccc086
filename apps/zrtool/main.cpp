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
    {"eval", "EXPR [--var NAME=VALUE]... [--script FILE]",
     "evaluate an expression, or run a script and print its variables", zr::tool::run_eval_command},
    {"page", "PAGE [--data-meta FILE] [--relation LINE]... [--code-page N]",
     "cut a data page into sections as the viewer does and print every dataset",
     zr::tool::run_page_command},
    {"font",
     "FACE [--height N] [--bold] [--italic] [--underline] [--strike-out] [--width N] "
     "[--charset N] [--text TEXT] [--extra N] [--code-page N]",
     "print the installed font a face name resolves to, its metrics and a text's extent",
     zr::tool::run_font_command},
    {"form", "build FILE.json -o FILE.zrf | dump FILE.zrf [-o FILE.json] [--code-page N]",
     "build a report form from its JSON description, or dump a form as that JSON",
     zr::tool::run_form_command},
    {"prepare", "FORM.zrf [--data NAME=PACKET]... [--var NAME=VALUE]... -o OUT.zrw [--dump]",
     "prepare a report from a form and data packets; --dump prints the pages",
     zr::tool::run_prepare_command},
    {"prepared", "dump FILE.zrw [--code-page N]",
     "print the pages and objects of a prepared report, one item a line",
     zr::tool::run_prepared_command},
    {"render", "FILE.zrw --page N [--zoom PERCENT] -o PAGE.png",
     "draw one page of a prepared report into a PNG image", zr::tool::run_render_command},
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
