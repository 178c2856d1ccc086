#pragma once
// Helpers for the image tests: little-endian builders for crafted files and ImageMagick's
// `identify` as an outside judge of what the encoders write.

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace zr::test {

// Appends little-endian integers and raw bytes.
struct Bytes {
  std::string data;
  Bytes& u8(uint8_t v) {
    data += static_cast<char>(v);
    return *this;
  }
  Bytes& u16(uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
  Bytes& raw(const std::string& s) {
    data += s;
    return *this;
  }
};

inline bool has_identify() {
  return std::system("identify -version >/dev/null 2>&1") == 0;
}

// "FORMAT WIDTH HEIGHT" as identify reports the first image of `bytes`, e.g. "BMP 3 2".
inline std::string identify(const std::string& bytes, const std::string& extension,
                            const std::string& format = "%m %w %h") {
  auto path = std::filesystem::temp_directory_path() /
              ("zr_identify_" + std::to_string(::getpid()) + "." + extension);
  std::ofstream(path, std::ios::binary) << bytes;
  std::string command = "identify -format '" + format + "\\n' '" + path.string() + "[0]' 2>&1";
  std::string result;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) result += buffer;
    ::pclose(pipe);
  }
  std::filesystem::remove(path);
  while (!result.empty() && (result.back() == '\n' || result.back() == ' ')) result.pop_back();
  return result;
}

}  // namespace zr::test
