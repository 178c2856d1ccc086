#pragma once
// Runs the built zrtool (or another program) with arguments (a shell command line) and
// collects its exit status and its standard output and error together, as a person at a
// terminal sees them.

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace zr::testing_support {

struct ToolResult {
  int status = -1;
  std::string output;
};

// Runs `program` (a path) with `arguments` through the shell.
inline ToolResult run_program(const std::string& program, const std::string& arguments) {
  ToolResult result;
  std::string command = program + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline ToolResult run_tool(const std::string& arguments) {
  return run_program(ZR_TOOL_PATH, arguments);
}

}  // namespace zr::testing_support
