// zrtool: tools for people who write reports. Each subcommand is a thin layer over library
// functions; errors go to stderr with exit status 1.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "arguments.h"
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

void print_command(FILE* out, const Command& command) {
  std::fprintf(out, "  %s %s\n      %s\n", command.name, command.usage, command.summary);
}

// The whole usage: on stdout with status 0 when asked for, on stderr with status 1 after a
// mistake.
int usage(FILE* out, int status) {
  std::fprintf(out, "usage: zrtool COMMAND [ARGS]\n       zrtool COMMAND --help\ncommands:\n");
  for (const Command& command : kCommands) print_command(out, command);
  std::fprintf(out,
               "\"--\" ends the options: what follows is an argument even when it starts with\n"
               "\"-\" (zrtool eval -- \"-2 * 3\"). Errors go to stderr with exit status 1.\n");
  return status;
}

const Command* find_command(const std::string& name) {
  for (const Command& command : kCommands)
    if (name == command.name) return &command;
  return nullptr;
}

int command_usage(const Command& command) {
  std::printf("usage: zrtool %s %s\n      %s\n", command.name, command.usage, command.summary);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage(stderr, 1);
  const std::string name = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (name == "--help" || name == "-h" || name == "help") {
    if (name == "help" && !args.empty()) {
      if (const Command* command = find_command(args[0])) return command_usage(*command);
    }
    return usage(stdout, 0);
  }
  const Command* command = find_command(name);
  if (!command) {
    std::fprintf(stderr, "zrtool: unknown command '%s'\n", name.c_str());
    return usage(stderr, 1);
  }
  if (zr::tool::asks_for_help(args)) return command_usage(*command);
  try {
    return command->run(args, std::cout);
  } catch (const std::exception& e) {
    std::cout.flush();
    std::fprintf(stderr, "zrtool %s: %s\n", command->name, e.what());
    return 1;
  }
}
