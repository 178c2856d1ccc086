#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/errors.h"

namespace zr {

MappedFile::MappedFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw IoError("Cannot read the file \"" + path + "\"");
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    throw IoError("Cannot read the file \"" + path + "\"");
  }
  size_ = static_cast<size_t>(info.st_size);
  if (size_ > 0) {
    data_ = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (data_ == MAP_FAILED) {
      data_ = nullptr;
      size_ = 0;
      ::close(fd);
      throw IoError("Cannot map the file \"" + path + "\"");
    }
  }
  ::close(fd);  // the mapping keeps the file
}

MappedFile::~MappedFile() {
  if (data_) ::munmap(data_, size_);
}

}  // namespace zr
