#include "platform/byte_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/errors.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(ByteStreamTest, NumbersAreLittleEndian) {
  ByteWriter w;
  w.write_u8(0xAB);
  w.write_i16(-2);
  w.write_u32(0x01020304);
  w.write_i64(-1);
  w.write_double(1.0);
  w.write_extended(1.0);
  w.write_extended(-2.5);
  EXPECT_EQ(w.bytes(),
            bytes({0xAB, 0xFE, 0xFF, 4, 3, 2, 1,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                   0,    0,    0,    0, 0, 0, 0xF0, 0x3F, 0,    0,    0,    0,    0,    0,    0,
                   0x80, 0xFF, 0x3F, 0, 0, 0, 0,    0,    0,    0,    0xA0, 0x00, 0xC0}));
  ByteReader r(w.bytes());
  EXPECT_EQ(r.read_u8(), 0xAB);
  EXPECT_EQ(r.read_i16(), -2);
  EXPECT_EQ(r.read_u32(), 0x01020304u);
  EXPECT_EQ(r.read_i64(), -1);
  EXPECT_EQ(r.read_double(), 1.0);
  EXPECT_EQ(r.read_extended(), 1.0);
  EXPECT_EQ(r.read_extended(), -2.5);
  EXPECT_TRUE(r.at_end());
}

TEST(ByteStreamTest, ExtendedRoundTrips) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {0.0, -0.0, 1.5, -123456.789, 1e300, 4.9e-324, 0.1, inf, -inf}) {
    ByteWriter w;
    w.write_extended(v);
    ByteReader r(w.bytes());
    const double back = r.read_extended();
    EXPECT_EQ(back, v);
    EXPECT_EQ(std::signbit(back), std::signbit(v));
  }
  ByteWriter w;
  w.write_extended(std::nan(""));
  ByteReader r(w.bytes());
  EXPECT_TRUE(std::isnan(r.read_extended()));
  // A value beyond the double range becomes infinity, not undefined behaviour.
  const std::string beyond = bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F});
  ByteReader huge(beyond);
  EXPECT_EQ(huge.read_extended(), inf);
}

TEST(ByteStreamTest, StringsOnBothSidesOfVersion23) {
  struct Case {
    int version;
    std::string text;
    std::string encoded;
  } cases[] = {
      {24, "ab", bytes({2, 0, 'a', 'b', 0})},
      {23, "", bytes({0, 0, 0})},
      {22, "ab", bytes({'a', 'b', 0})},
      {22, "", bytes({0})},
      {24, std::string("a\0b", 3), bytes({3, 0, 'a', 0, 'b', 0})},
  };
  for (const auto& c : cases) {
    ByteWriter w;
    w.write_string(c.text, c.version);
    EXPECT_EQ(w.bytes(), c.encoded) << c.version << " " << c.text;
    ByteReader r(c.encoded, "<memory>", c.version);
    EXPECT_EQ(r.read_string(), c.text);
    EXPECT_TRUE(r.at_end());
  }
  // The version-23 form ignores the stream's version.
  ByteWriter w;
  w.write_string_v23("x");
  ByteReader r(w.bytes(), "<memory>", 20);
  EXPECT_EQ(r.read_string_v23(), "x");
  // The byte after a version-23 string is skipped whatever it holds.
  const std::string odd_bytes = bytes({1, 0, 'q', 7, 9});
  ByteReader odd(odd_bytes);
  EXPECT_EQ(odd.read_string(), "q");
  EXPECT_EQ(odd.read_u8(), 9);
}

TEST(ByteStreamTest, StringListsWritten) {
  struct Case {
    int version;
    Lines lines;
    std::string encoded;
  } cases[] = {
      {24, {"a", "bc"}, bytes({2, 0, 1, 0, 'a', 13, 2, 0, 'b', 'c', 0})},
      {23, {}, bytes({0, 0, 0})},
      {23, {""}, bytes({1, 0, 0, 0, 0})},
      {22, {"a", "bc"}, bytes({'a', 13, 'b', 'c', 0})},
      {22, {}, bytes({0})},
      {22, {"a", ""}, bytes({'a', 13, 13, 0})},
      {22, {""}, bytes({13, 0})},
  };
  for (const auto& c : cases) {
    ByteWriter w;
    w.write_string_list(c.lines, c.version);
    EXPECT_EQ(w.bytes(), c.encoded) << "version " << c.version;
    ByteReader r(c.encoded, "<memory>", c.version);
    EXPECT_EQ(r.read_string_list(), c.lines) << "version " << c.version;
    EXPECT_TRUE(r.at_end());
  }
}

TEST(ByteStreamTest, StringListsRead) {
  struct Case {
    int version;
    std::string encoded;
    Lines lines;
  } cases[] = {
      // The count is tested only against 0; the 0 separator ends the list.
      {24, bytes({5, 0, 1, 0, 'x', 0}), {"x"}},
      {24, bytes({1, 0, 1, 0, 'x', 13, 1, 0, 'y', 0}), {"x", "y"}},
      {24, bytes({0, 0, 0}), {}},
      // Before 23 a 13 right before the terminator does not start an empty line.
      {22, bytes({'a', 13, 'b', 13, 0}), {"a", "b"}},
      {22, bytes({'a', 13, 13, 'b', 0}), {"a", "", "b"}},
      {22, bytes({0}), {}},
  };
  for (const auto& c : cases) {
    ByteReader r(c.encoded, "<memory>", c.version);
    EXPECT_EQ(r.read_string_list(), c.lines);
    EXPECT_TRUE(r.at_end());
  }
  const std::string v23_bytes = bytes({1, 0, 1, 0, 'x', 0});
  ByteReader v23(v23_bytes, "<memory>", 1);
  EXPECT_EQ(v23.read_string_list_v23(), Lines{"x"});
}

TEST(ByteStreamTest, RoundTripsAcrossVersions) {
  const Lines samples[] = {
      {}, {"one"}, {"", "", "x"}, {"\xC7\xD1\xB1\xDB", "line two", ""}, {std::string(300, 'z')}};
  for (int version : {22, 23, 24}) {
    ByteWriter w;
    for (const auto& lines : samples) {
      w.write_string_list(lines, version);
      w.write_string(lines.empty() ? "" : lines[0], version);
    }
    ByteReader r(w.bytes(), "<memory>", version);
    for (const auto& lines : samples) {
      EXPECT_EQ(r.read_string_list(), lines) << version;
      EXPECT_EQ(r.read_string(), lines.empty() ? "" : lines[0]) << version;
    }
    EXPECT_TRUE(r.at_end());
  }
}

void expect_format_error(const std::function<void()>& read, const std::string& message,
                         int64_t offset) {
  try {
    read();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const FormatError& e) {
    EXPECT_EQ(e.what(), message);
    EXPECT_EQ(e.where(), "form.zrf");
    EXPECT_EQ(e.offset(), offset);
  }
}

TEST(ByteStreamTest, ReadingPastTheEndRaises) {
  const std::string three = bytes({1, 2, 3});
  ByteReader r(three, "form.zrf");
  expect_format_error([&] { r.read_u32(); },
                      "form.zrf: offset 0: unexpected end of data (4 bytes needed, 3 left)", 0);
  r.skip(2);
  expect_format_error([&] { r.read_u16(); },
                      "form.zrf: offset 2: unexpected end of data (2 bytes needed, 1 left)", 2);
  expect_format_error([&] { r.seek(4); }, "form.zrf: offset 2: seek to 4 beyond the end (3)", 2);
  r.seek(3);
  EXPECT_EQ(r.remaining(), 0u);
  expect_format_error([&] { r.read_u8(); },
                      "form.zrf: offset 3: unexpected end of data (1 bytes needed, 0 left)", 3);

  // A length beyond the data fails before anything is allocated.
  const std::string long_length = bytes({0xFF, 0xFF, 'a'});
  ByteReader s(long_length, "form.zrf");
  expect_format_error([&] { s.read_string(); },
                      "form.zrf: offset 2: unexpected end of data (65535 bytes needed, 1 left)", 2);
  // A version-23 string without its trailing byte, an unterminated old string, a list whose
  // last line has no separator.
  const std::string no_zero = bytes({1, 0, 'a'});
  ByteReader t(no_zero, "form.zrf");
  EXPECT_THROW(t.read_string(), FormatError);
  const std::string unterminated = "abc";
  ByteReader u(unterminated, "form.zrf", 22);
  expect_format_error([&] { u.read_string_list(); },
                      "form.zrf: offset 0: string without terminating 0 byte", 0);
  const std::string open_list = bytes({2, 0, 1, 0, 'a', 13, 1, 0, 'b'});
  ByteReader v(open_list, "form.zrf");
  EXPECT_THROW(v.read_string_list(), FormatError);
}

TEST(ByteStreamTest, WriterRefusesWhatCannotBeRead) {
  ByteWriter w;
  EXPECT_THROW(w.write_string(std::string(65536, 'a'), 24), ZorelError);
  EXPECT_NO_THROW(w.write_string(std::string(65535, 'a'), 24));
  EXPECT_THROW(w.write_string_list(Lines(65536), 24), ZorelError);
  EXPECT_THROW(w.write_string_list({"ok", std::string(65536, 'a')}, 23), ZorelError);
  EXPECT_THROW(w.write_string(std::string("a\0b", 3), 22), ZorelError);
  EXPECT_THROW(w.write_string_list({"a\rb"}, 22), ZorelError);

  ByteWriter record;
  record.write_u32(0);
  record.write_string_v23("body");
  record.patch_u32(0, static_cast<uint32_t>(record.position()));
  EXPECT_EQ(record.bytes().substr(0, 4), bytes({11, 0, 0, 0}));
  EXPECT_THROW(record.patch_u32(8, 1), ZorelError);
}

}  // namespace
}  // namespace zr
