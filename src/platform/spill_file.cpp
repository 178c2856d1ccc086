#include "platform/spill_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/errors.h"

namespace zr {

namespace {

std::string temporary_folder() {
  const char* folder = std::getenv("TMPDIR");
  return folder && *folder ? folder : "/tmp";
}

[[noreturn]] void fail(const std::string& what, int error) {
  throw IoError(what + " (" + std::strerror(error) + ")");
}

}  // namespace

SpillFile::~SpillFile() {
  if (fd_ >= 0) ::close(fd_);
}

void SpillFile::open() {
  const std::string folder = temporary_folder();
  fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ >= 0) return;
  // Some file systems have no unnamed files: make a named one and unlink it at once.
  std::string name = folder + "/zorel-spill-XXXXXX";
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0)
    throw IoError("Cannot make a temporary file in \"" + folder + "\" (" + std::strerror(errno) +
                  "); TMPDIR names the folder for temporary files");
  ::unlink(name.c_str());
}

SpillFile::Span SpillFile::append(std::string_view bytes) {
  if (fd_ < 0) open();
  const Span span{end_, bytes.size()};
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(end_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("Cannot write to a temporary file", n < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(n);
  }
  end_ += bytes.size();
  return span;
}

void SpillFile::read(Span span, std::string& into) const {
  into.resize(span.size);
  size_t done = 0;
  while (done < span.size) {
    const ssize_t n = fd_ < 0 ? 0
                              : ::pread(fd_, into.data() + done, span.size - done,
                                        static_cast<off_t>(span.offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("Cannot read back a temporary file", n < 0 ? errno : EIO);
    done += static_cast<size_t>(n);
  }
}

void SpillFile::reset() {
  if (fd_ >= 0 && ::ftruncate(fd_, 0) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
  end_ = 0;
}

}  // namespace zr
