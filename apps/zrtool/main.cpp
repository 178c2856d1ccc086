// zrtool: tools for people who write reports. Each subcommand is a thin layer over library
// functions; errors go to stderr with exit status 1.
#include <cstdio>
#include <cstring>
#include <string>

static int usage() {
  std::fprintf(stderr,
               "usage: zrtool COMMAND [ARGS]\n"
               "commands:\n");
  return 1;
}

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  (void)command;
  return usage();
}
