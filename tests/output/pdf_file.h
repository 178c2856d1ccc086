#pragma once
// Reading back an exported PDF in tests: objects found through the file's own cross-reference
// table (so a wrong offset fails), stream data inflated with zlib, and commands (qpdf, poppler
// tools) run on the file.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace pdf_testing {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct CommandResult {
  int status = -1;
  std::string output;  // stdout and stderr
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.output.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

inline std::string Inflate(const std::string& data) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return "<inflate init failed>";
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  std::string out;
  std::array<char, 16384> buffer;
  int result = Z_OK;
  while (result == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(buffer.data());
    zs.avail_out = buffer.size();
    result = inflate(&zs, Z_NO_FLUSH);
    out.append(buffer.data(), buffer.size() - zs.avail_out);
  }
  inflateEnd(&zs);
  return result == Z_STREAM_END ? out : "<inflate failed>";
}

class PdfFile {
 public:
  explicit PdfFile(const std::filesystem::path& path) : path_(path), bytes_(ReadBytes(path)) {
    const size_t start_pos = bytes_.rfind("startxref\n");
    if (start_pos == std::string::npos) return;
    const size_t xref = std::stoul(bytes_.substr(start_pos + 10));
    if (bytes_.compare(xref, 5, "xref\n") != 0) return;
    std::istringstream table(bytes_.substr(xref + 5));
    int first = 0, count = 0;
    table >> first >> count;
    size_t pos = xref + 5 + bytes_.substr(xref + 5).find('\n') + 1;
    xref_entries_ = bytes_.substr(pos, static_cast<size_t>(count) * 20);
    for (int i = 0; i < count; ++i) {
      const std::string entry = bytes_.substr(pos + static_cast<size_t>(i) * 20, 20);
      if (entry[17] == 'n') offsets_[first + i] = std::stoul(entry.substr(0, 10));
    }
    size_ = count;
  }

  const std::string& bytes() const { return bytes_; }
  const std::filesystem::path& path() const { return path_; }
  int size() const { return size_; }  // entries of the cross-reference table
  const std::string& xref_entries() const { return xref_entries_; }
  bool has(int number) const { return offsets_.count(number) > 0; }

  // The object as written, from "N 0 obj" through "endobj\n"; empty when the table does not
  // point at that object's header.
  std::string Object(int number) const {
    auto it = offsets_.find(number);
    if (it == offsets_.end()) return {};
    const std::string header = std::to_string(number) + " 0 obj\n";
    if (bytes_.compare(it->second, header.size(), header) != 0) return {};
    const size_t end = bytes_.find("endobj\n", it->second);
    return end == std::string::npos ? std::string()
                                    : bytes_.substr(it->second, end + 7 - it->second);
  }

  // The bytes between "stream\n" and "\nendstream" of an object.
  std::string StreamData(int number) const {
    const std::string object = Object(number);
    const size_t begin = object.find("stream\n");
    const size_t end = object.rfind("\nendstream");
    if (begin == std::string::npos || end == std::string::npos) return {};
    return object.substr(begin + 7, end - begin - 7);
  }

 private:
  std::filesystem::path path_;
  std::string bytes_;
  std::string xref_entries_;
  std::map<int, size_t> offsets_;
  int size_ = 0;
};

}  // namespace pdf_testing
