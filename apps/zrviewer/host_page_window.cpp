#include "host_page_window.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "viewer/com_result.h"

extern char** environ;

namespace zr::host {

// Messages are ANSI, as every message raised inside the control.
void HostPageWindow::open_address(const std::string& url) const {
  const std::string address = ansi_to_utf8(url);
  std::vector<std::string> words = opener_;
  words.push_back(address);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  if (int error = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ))
    throw SystemError(E_FAIL, "cannot start " + opener_.front() + ": " + std::strerror(error));
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) throw SystemError(E_FAIL, "lost " + opener_.front() + " for " + url);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw SystemError(E_FAIL, opener_.front() + " could not open " + url);
}

}  // namespace zr::host
