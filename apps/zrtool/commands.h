#pragma once
// The subcommands of zrtool. Each takes its own arguments (without the command name), writes
// its result to `out`, and returns the exit status; errors escape as exceptions, which main
// prints to stderr with exit status 1.

#include <ostream>
#include <string>
#include <vector>

namespace zr::tool {

struct Command {
  const char* name;
  const char* usage;  // arguments, e.g. "FILE [--index FIELDS]"
  const char* summary;
  int (*run)(const std::vector<std::string>& args, std::ostream& out);
};

// zrtool data FILE [--index FIELDS] [--desc FIELDS] [--code-page N]
int run_data_command(const std::vector<std::string>& args, std::ostream& out);

// zrtool page PAGE [--data-meta FILE] [--relation LINE]... [--code-page N]
int run_page_command(const std::vector<std::string>& args, std::ostream& out);

// zrtool font FACE [--height N] [--bold] [--italic] [--text TEXT] ...
int run_font_command(const std::vector<std::string>& args, std::ostream& out);

// zrtool eval EXPR [--var NAME=VALUE]... [--script FILE]
int run_eval_command(const std::vector<std::string>& args, std::ostream& out);

// zrtool form build FILE.json -o FILE.zrf | form dump FILE.zrf [-o FILE.json]
int run_form_command(const std::vector<std::string>& args, std::ostream& out);

// zrtool prepare FORM.zrf [--data NAME=PACKET]... [--var NAME=VALUE]... -o OUT.zrw [--dump]
int run_prepare_command(const std::vector<std::string>& args, std::ostream& out);

// zrtool prepared dump FILE.zrw
int run_prepared_command(const std::vector<std::string>& args, std::ostream& out);

// zrtool render FILE.zrw --page N [--zoom PERCENT] -o PAGE.png
int run_render_command(const std::vector<std::string>& args, std::ostream& out);

}  // namespace zr::tool
