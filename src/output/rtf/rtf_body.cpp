#include "output/rtf/rtf_body.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/errors.h"

namespace zr {

namespace {

// A new empty file in the temporary folder; its name.
std::string make_spill_file() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) folder = "/tmp";
  std::string pattern = (folder / "OxVTXXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw IoError("Cannot create a temporary file in \"" + folder.string() + "\"");
  close(fd);
  return name.data();
}

}  // namespace

RtfBody::~RtfBody() {
  Clear();
}

void RtfBody::Append(std::string_view text) {
  if (buffer_.size() + text.size() > limit_) Spill();
  if (text.size() > limit_) {
    spill_.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!spill_) throw IoError("Cannot write file \"" + spill_name_ + "\"");
    return;
  }
  buffer_.append(text);
}

void RtfBody::Spill() {
  if (spill_name_.empty()) {
    spill_name_ = make_spill_file();
    spill_.open(spill_name_, std::ios::binary | std::ios::trunc);
    if (!spill_) throw IoError("Cannot create file \"" + spill_name_ + "\"");
  }
  spill_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  if (!spill_) throw IoError("Cannot write file \"" + spill_name_ + "\"");
  buffer_.clear();
}

void RtfBody::WriteTo(std::ostream& out) {
  if (!spill_name_.empty()) {
    spill_.close();
    if (!spill_) throw IoError("Cannot write file \"" + spill_name_ + "\"");
    std::ifstream in(spill_name_, std::ios::binary);
    if (!in) throw IoError("Cannot open file \"" + spill_name_ + "\"");
    if (in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
  }
  out.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  Clear();
}

void RtfBody::Clear() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  if (spill_.is_open()) spill_.close();
  if (!spill_name_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(spill_name_, ignored);
    spill_name_.clear();
  }
}

}  // namespace zr
