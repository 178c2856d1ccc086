#include "platform/byte_stream.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/errors.h"

namespace zr {
namespace {

constexpr uint8_t kLineSeparator = 13;
constexpr size_t kMaxLength = 0xFFFF;

uint64_t little_endian(const char* p, size_t count) {
  uint64_t v = 0;
  for (size_t i = 0; i < count; ++i) v |= uint64_t{static_cast<uint8_t>(p[i])} << (8 * i);
  return v;
}

}  // namespace

// ---- ByteReader ----------------------------------------------------------------------------

void ByteReader::fail(const std::string& what) const {
  throw FormatError(what, name_, static_cast<int64_t>(pos_));
}

void ByteReader::fail_short(size_t count) const {
  fail("unexpected end of data (" + std::to_string(count) + " bytes needed, " +
       std::to_string(remaining()) + " left)");
}

void ByteReader::seek(size_t position) {
  if (position > data_.size()) {
    fail("seek to " + std::to_string(position) + " beyond the end (" +
         std::to_string(data_.size()) + ")");
  }
  pos_ = position;
}

void ByteReader::skip(size_t count) {
  take(count);
}

int64_t ByteReader::read_i64() {
  return static_cast<int64_t>(little_endian(take(8), 8));
}
double ByteReader::read_double() {
  return std::bit_cast<double>(little_endian(take(8), 8));
}

double ByteReader::read_extended() {
  const char* p = take(10);
  const uint64_t mantissa = little_endian(p, 8);
  const uint16_t sign_exponent = static_cast<uint16_t>(little_endian(p + 8, 2));
  const bool negative = sign_exponent & 0x8000;
  const int exponent = sign_exponent & 0x7FFF;
  double value;
  if (exponent == 0x7FFF) {
    // The integer bit is explicit; infinity has an otherwise empty mantissa.
    value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::quiet_NaN();
  } else {
    // mantissa is a 64-bit integer with the binary point after its top bit.
    value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
  }
  return negative ? -value : value;
}

std::string ByteReader::read_bytes(size_t count) {
  const char* p = take(count);
  return std::string(p, count);
}

std::string ByteReader::read_terminated() {
  const size_t start = pos_;
  const size_t end = data_.find('\0', start);
  if (end == std::string_view::npos) fail("string without terminating 0 byte");
  pos_ = end + 1;
  return std::string(data_.substr(start, end - start));
}

std::string ByteReader::read_string() {
  return version_ >= kStringLengthVersion ? read_string_v23() : read_terminated();
}

std::string ByteReader::read_string_v23() {
  const size_t length = read_u16();
  std::string text = read_bytes(length);
  skip(1);  // the 0 byte after the text
  return text;
}

std::vector<std::string> ByteReader::read_string_list() {
  if (version_ >= kStringLengthVersion) return read_string_list_v23();
  const std::string text = read_terminated();
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(static_cast<char>(kLineSeparator), start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> ByteReader::read_string_list_v23() {
  std::vector<std::string> lines;
  if (read_u16() == 0) {
    skip(1);
    return lines;
  }
  // The count only tells "empty or not": the separators decide where the list ends. Each
  // line takes at least three bytes, so the list is bounded by the data.
  for (;;) {
    const size_t length = read_u16();
    lines.push_back(read_bytes(length));
    if (read_u8() == 0) return lines;
  }
}

// ---- ByteWriter ----------------------------------------------------------------------------

void ByteWriter::write_i64(int64_t v) {
  const uint64_t u = static_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) write_u8(static_cast<uint8_t>(u >> (8 * i)));
}

void ByteWriter::write_double(double v) {
  write_i64(static_cast<int64_t>(std::bit_cast<uint64_t>(v)));
}

void ByteWriter::write_extended(double v) {
  const uint16_t sign = std::signbit(v) ? 0x8000 : 0;
  uint64_t mantissa = 0;
  int exponent = 0;
  if (std::isnan(v)) {
    mantissa = 0xC000000000000000;
    exponent = 0x7FFF;
  } else if (std::isinf(v)) {
    mantissa = 0x8000000000000000;
    exponent = 0x7FFF;
  } else if (v != 0) {
    int e = 0;
    const double fraction = std::frexp(std::abs(v), &e);  // in [0.5, 1)
    mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    exponent = e - 1 + 16383;
  }
  write_i64(static_cast<int64_t>(mantissa));
  write_u16(static_cast<uint16_t>(sign | exponent));
}

void ByteWriter::patch_u32(size_t position, uint32_t v) {
  if (position > bytes_.size() || bytes_.size() - position < 4) {
    throw ZorelError("patch outside the written record at " + std::to_string(position));
  }
  for (int i = 0; i < 4; ++i) bytes_[position + i] = static_cast<char>(v >> (8 * i));
}

void ByteWriter::write_string(std::string_view text, int version) {
  if (version >= kStringLengthVersion) return write_string_v23(text);
  if (text.find('\0') != std::string_view::npos) {
    throw ZorelError("a string with a 0 byte cannot be written before stream version 23");
  }
  write_bytes(text);
  write_u8(0);
}

void ByteWriter::write_string_v23(std::string_view text) {
  if (text.size() > kMaxLength) {
    throw ZorelError("string of " + std::to_string(text.size()) + " bytes is too long (at most " +
                     std::to_string(kMaxLength) + ")");
  }
  write_u16(static_cast<uint16_t>(text.size()));
  write_bytes(text);
  write_u8(0);
}

void ByteWriter::write_string_list(const std::vector<std::string>& lines, int version) {
  if (version >= kStringLengthVersion) return write_string_list_v23(lines);
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(static_cast<char>(kLineSeparator)) != std::string::npos) {
      throw ZorelError("a line with a byte 13 cannot be written before stream version 23");
    }
    if (i > 0) text += static_cast<char>(kLineSeparator);
    text += lines[i];
  }
  // A trailing separator keeps an empty last line: the reader drops one 13 before the end.
  if (!lines.empty() && lines.back().empty()) text += static_cast<char>(kLineSeparator);
  write_string(text, version);
}

void ByteWriter::write_string_list_v23(const std::vector<std::string>& lines) {
  if (lines.size() > kMaxLength) {
    throw ZorelError("list of " + std::to_string(lines.size()) + " lines is too long (at most " +
                     std::to_string(kMaxLength) + ")");
  }
  for (const auto& line : lines) {
    if (line.size() > kMaxLength) {
      throw ZorelError("line of " + std::to_string(line.size()) + " bytes is too long (at most " +
                       std::to_string(kMaxLength) + ")");
    }
  }
  write_u16(static_cast<uint16_t>(lines.size()));
  if (lines.empty()) return write_u8(0);
  for (size_t i = 0; i < lines.size(); ++i) {
    write_u16(static_cast<uint16_t>(lines[i].size()));
    write_bytes(lines[i]);
    write_u8(i + 1 < lines.size() ? kLineSeparator : 0);
  }
}

}  // namespace zr
