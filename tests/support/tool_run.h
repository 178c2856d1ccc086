#pragma once
// Runs the built zrtool with arguments (a shell command line), or any command line, and
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

// Runs a shell command line the same way (qpdf, pdftotext ...).
inline ToolResult run_command(const std::string& command_line) {
  ToolResult result;
  FILE* pipe = popen((command_line + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline ToolResult run_tool(const std::string& arguments) {
  return run_command(std::string(ZR_TOOL_PATH) + " " + arguments);
}

}  // namespace zr::testing_support
