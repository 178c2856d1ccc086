#pragma once
// The engine's binary record encodings: little-endian integers and IEEE doubles, and the
// versioned string and string-list forms.
//
//   string, version >= 23:  u16 length L, L bytes, one byte 0 (skipped when read)
//   string, version < 23:   the bytes up to a terminating 0 byte
//   list, version >= 23:    u16 count; count 0: one byte 0, the list is empty; otherwise each
//                           line is u16 length + bytes + one separator byte, 13 when another
//                           line follows and 0 after the last. Readers test the count only
//                           against 0 and stop at the 0 separator.
//   list, version < 23:     the whole text up to a terminating 0 byte, lines separated by 13;
//                           a 13 right before the terminator ends the last line and does not
//                           start an empty one.
//   "version-23 form":      the version-23 encoding whatever the stream's version.
//
// Strings are 8-bit ANSI bytes in std::string; lists are std::vector<std::string>.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zr {

inline constexpr int kCurrentStreamVersion = 24;
inline constexpr int kStringLengthVersion = 23;  // first version with length-prefixed strings

// A bounds-checked cursor over bytes it does not own: the bytes must outlive the reader.
// Every read past the end, and every seek outside the data, raises FormatError naming the
// stream and the offset. Nothing read can make it allocate more than the bytes remaining.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes, std::string name = "<memory>",
                      int version = kCurrentStreamVersion)
      : data_(bytes), name_(std::move(name)), version_(version) {}
  // A string literal, embedded 0 bytes included (its final 0 is not part of the data).
  template <size_t N>
  explicit ByteReader(const char (&bytes)[N], std::string name = "<memory>",
                      int version = kCurrentStreamVersion)
      : ByteReader(std::string_view(bytes, N - 1), std::move(name), version) {}
  // A temporary string would leave the reader dangling.
  ByteReader(std::string&& bytes, std::string name = {}, int version = 0) = delete;
  explicit ByteReader(std::span<const uint8_t> bytes, std::string name = "<memory>",
                      int version = kCurrentStreamVersion)
      : ByteReader(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                   std::move(name), version) {}

  // The version that governs read_string/read_string_list; readers set it from the version
  // byte at the head of the stream.
  int version() const { return version_; }
  void set_version(int version) { version_ = version; }
  const std::string& name() const { return name_; }

  size_t position() const { return pos_; }
  size_t size() const { return data_.size(); }
  size_t remaining() const { return data_.size() - pos_; }
  bool at_end() const { return pos_ == data_.size(); }
  void seek(size_t position);  // 0..size()
  void skip(size_t count);

  uint8_t read_u8() { return static_cast<uint8_t>(*take(1)); }
  int8_t read_i8() { return static_cast<int8_t>(read_u8()); }
  uint16_t read_u16() { return static_cast<uint16_t>(read_little_endian(2)); }
  int16_t read_i16() { return static_cast<int16_t>(read_u16()); }
  uint32_t read_u32() { return static_cast<uint32_t>(read_little_endian(4)); }
  int32_t read_i32() { return static_cast<int32_t>(read_u32()); }
  int64_t read_i64();
  double read_double();    // 8-byte IEEE
  double read_extended();  // 10-byte x87 extended of old records, rounded to a double
  std::string read_bytes(size_t count);

  // By the stream's version.
  std::string read_string();
  std::vector<std::string> read_string_list();
  // The version-23 form.
  std::string read_string_v23();
  std::vector<std::string> read_string_list_v23();

  // Raises FormatError(what) at the current offset.
  [[noreturn]] void fail(const std::string& what) const;

 private:
  // Advances, or raises when fewer bytes remain.
  const char* take(size_t count) {
    if (count > remaining()) fail_short(count);
    const char* p = data_.data() + pos_;
    pos_ += count;
    return p;
  }
  [[noreturn]] void fail_short(size_t count) const;
  uint64_t read_little_endian(size_t count) {
    const auto* p = reinterpret_cast<const unsigned char*>(take(count));
    uint64_t v = 0;
    for (size_t i = 0; i < count; ++i) v |= uint64_t{p[i]} << (8 * i);
    return v;
  }
  std::string read_terminated();  // bytes up to a 0 byte, which is consumed

  std::string_view data_;
  std::string name_;
  int version_;
  size_t pos_ = 0;
};

// Builds a record in memory. The string forms raise ZorelError when a text cannot be written
// in the asked encoding: longer than 65535 bytes (or a list of more than 65535 lines) in the
// version-23 form, or holding a 0 byte (and, in lists, a 13 byte) in the older form, where
// it would be read back differently. An old-form list whose last line is empty ends with an
// extra 13 so that it reads back whole.
class ByteWriter {
 public:
  explicit ByteWriter(int version = kCurrentStreamVersion) : version_(version) {}

  // The version that governs write_string/write_string_list without a version argument.
  int version() const { return version_; }
  void set_version(int version) { version_ = version; }

  const std::string& bytes() const { return bytes_; }
  std::string take() { return std::move(bytes_); }
  // Gives back the room grown beyond what was written.
  void shrink_to_fit() { bytes_.shrink_to_fit(); }
  // Forgets what was written and gives its memory back (assigning an empty writer would
  // keep the old buffer).
  void discard() { std::string().swap(bytes_); }
  size_t position() const { return bytes_.size(); }

  void write_u8(uint8_t v) { bytes_ += static_cast<char>(v); }
  void write_i8(int8_t v) { write_u8(static_cast<uint8_t>(v)); }
  void write_u16(uint16_t v) {
    const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    bytes_.append(b, 2);
  }
  void write_i16(int16_t v) { write_u16(static_cast<uint16_t>(v)); }
  void write_u32(uint32_t v) {
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    bytes_.append(b, 4);
  }
  void write_i32(int32_t v) { write_u32(static_cast<uint32_t>(v)); }
  void write_i64(int64_t v);
  void write_double(double v);
  void write_extended(double v);
  void write_bytes(std::string_view bytes) { bytes_.append(bytes); }
  // Overwrites four bytes written earlier (end positions of records); raises ZorelError
  // when they are not all inside what has been written.
  void patch_u32(size_t position, uint32_t v);

  void write_string(std::string_view text) { write_string(text, version_); }
  void write_string_list(const std::vector<std::string>& lines) {
    write_string_list(lines, version_);
  }
  void write_string(std::string_view text, int version);
  void write_string_list(const std::vector<std::string>& lines, int version);
  void write_string_v23(std::string_view text);
  void write_string_list_v23(const std::vector<std::string>& lines);

 private:
  std::string bytes_;
  int version_;
};

}  // namespace zr
