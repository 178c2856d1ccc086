#include "viewer/work_folder.h"

#include <cstdlib>
#include <system_error>

#include "platform/errors.h"

namespace zr {

WorkFolder WorkFolder::from_environment() {
  if (const char* home = std::getenv("ZOREL_HOME"); home && *home) return WorkFolder(home);
  const char* user_home = std::getenv("HOME");
  return WorkFolder(std::filesystem::path(user_home && *user_home ? user_home : ".") / "Zorel");
}

void WorkFolder::ensure_exists() const {
  std::error_code ec;
  std::filesystem::create_directories(root_, ec);
  if (ec || !std::filesystem::is_directory(root_))
    throw IoError("Cannot create the work folder " + root_.string() + ": " + ec.message());
}

}  // namespace zr
