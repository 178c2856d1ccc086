#pragma once
// A file mapped read-only into memory: its bytes are read from disk only where they are
// looked at, so a large file (a font collection) costs memory for the parts used.

#include <string>
#include <string_view>

namespace zr {

class MappedFile {
 public:
  // Raises IoError when the file cannot be opened or mapped. An empty file maps to no bytes.
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::string_view bytes() const { return {static_cast<const char*>(data_), size_}; }

 private:
  void* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace zr
