#include "host_paths.h"

#include <cstdio>

namespace zr::host {
namespace {

bool is_unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

std::string percent_encoded(const std::string& path) {
  std::string out;
  for (char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (is_unreserved(byte)) {
      out += c;
      continue;
    }
    char escape[4];
    std::snprintf(escape, sizeof escape, "%%%02X", byte);
    out += escape;
  }
  return out;
}

}  // namespace

std::string address_for(const std::string& value, const std::filesystem::path& cwd) {
  if (value.empty() || value.find("://") != std::string::npos) return value;
  const std::filesystem::path path(value);
  if (!path.is_absolute() && cwd.empty()) return value;  // no folder to settle it in
  const std::filesystem::path absolute = path.is_absolute() ? path : cwd / path;
  return "file://" + percent_encoded(absolute.lexically_normal().string());
}

std::string output_name_for(const std::string& name, const std::filesystem::path& cwd) {
  if (name.empty()) return name;
  const std::filesystem::path path(name);
  if (path.is_absolute()) return name;
  return (cwd / path).lexically_normal().string();
}

}  // namespace zr::host
