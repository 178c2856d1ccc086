#pragma once
// The body of an RTF document while its pages are exported: collected in memory up to a
// limit, then moved to a temporary file ("OxVT..." in the system's temporary folder) so that
// a long report needs bounded memory. The file precedes what is in memory; it is deleted
// when the body is written out or destroyed.

#include <cstddef>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

namespace zr {

// What the body keeps in memory before it spills to its file.
inline constexpr size_t kRtfBodyMemoryLimit = size_t{8} << 20;

class RtfBody {
 public:
  explicit RtfBody(size_t memory_limit = kRtfBodyMemoryLimit) : limit_(memory_limit) {}
  ~RtfBody();
  RtfBody(const RtfBody&) = delete;
  RtfBody& operator=(const RtfBody&) = delete;

  // Raises IoError when the temporary file cannot be made or written.
  void Append(std::string_view text);
  // The whole body, file first, to `out`; the body is empty afterwards.
  void WriteTo(std::ostream& out);
  // Empties the body and deletes its file.
  void Clear();

  bool Spilled() const { return !spill_name_.empty(); }
  const std::string& SpillFileName() const { return spill_name_; }
  size_t MemoryBytes() const { return buffer_.size(); }

 private:
  void Spill();

  size_t limit_;
  std::string buffer_;
  std::string spill_name_;
  std::ofstream spill_;
};

}  // namespace zr
