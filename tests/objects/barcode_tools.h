#pragma once
// Helpers of the barcode tests: module strings of encodings, the reference encoder (zint) and
// the reader (zbarimg), both run as programs.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "objects/barcode.h"

namespace testing_support {

// Bars as '1', spaces as '0', each element as many times as it is wide.
inline std::string Modules(const std::string& codes, const std::array<uint8_t, 4>& widths) {
  std::string out;
  for (char c : codes) out.append(zr::TvtBarcode::ElementWidth(c, widths), c >= '5' ? '1' : '0');
  return out;
}

// Trailing spaces belong to no symbol.
inline std::string WithoutTrailingSpaces(std::string modules) {
  while (!modules.empty() && modules.back() == '0') modules.pop_back();
  return modules;
}

inline std::string RunCommand(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  if (!pipe) return out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, n);
  return out;
}

inline bool HaveProgram(const std::string& name) {
  return RunCommand("command -v " + name + " >/dev/null 2>&1 && echo yes") == "yes\n";
}

inline std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The module string zint dumps for `data` in its symbology `zint_type` (extra options
// before the data), trailing spaces removed.
inline std::string ZintModules(int zint_type, const std::string& data,
                               const std::string& options = {}) {
  const std::string dump = RunCommand("zint --dump -b " + std::to_string(zint_type) + " " +
                                      options + " -d " + ShellQuote(data) + " 2>&1");
  std::string bits;
  for (char c : dump) {
    if (c == '\n') break;
    if (c == ' ') continue;
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    if (v < 0) return "zint: " + dump;
    for (int bit = 3; bit >= 0; --bit) bits += (v >> bit) & 1 ? '1' : '0';
  }
  return WithoutTrailingSpaces(bits);
}

}  // namespace testing_support
