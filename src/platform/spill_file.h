#pragma once
// A temporary file that takes blocks of bytes and gives them back: where a long run parks
// what it must keep but does not need at hand, so its memory stays bounded by what is in use.
// The file is unlinked as soon as it is made and disappears with the object (or the process).

#include <cstdint>
#include <string>
#include <string_view>

namespace zr {

class SpillFile {
 public:
  struct Span {
    uint64_t offset = 0;
    size_t size = 0;
  };

  SpillFile() = default;
  ~SpillFile();
  SpillFile(const SpillFile&) = delete;
  SpillFile& operator=(const SpillFile&) = delete;

  // Raises IoError when the file cannot be made or written (a full disk).
  Span append(std::string_view bytes);
  // Replaces `into` with the bytes of `span`; raises IoError when they cannot be read.
  void read(Span span, std::string& into) const;
  // Forgets every block and gives the disk space back.
  void reset();

  uint64_t size() const { return end_; }

 private:
  void open();

  int fd_ = -1;
  uint64_t end_ = 0;
};

}  // namespace zr
