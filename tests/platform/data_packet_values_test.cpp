#include "platform/table/packet_values.h"

#include <gtest/gtest.h>

#include "platform/date_time.h"

namespace zr {
namespace {

TEST(DataPacketValuesTest, Numbers) {
  EXPECT_EQ(parse_packet_integer(" -42 "), -42);
  EXPECT_EQ(parse_packet_integer("+7"), 7);
  EXPECT_EQ(parse_packet_integer("9223372036854775807"), INT64_MAX);
  for (const char* bad : {"", "-", "1.0", "12a", "9223372036854775808", "0x10"})
    EXPECT_FALSE(parse_packet_integer(bad)) << bad;

  EXPECT_EQ(parse_packet_float("19.6850393700787"), 19.6850393700787);
  EXPECT_EQ(parse_packet_float("9471,950000000001"), 9471.950000000001);
  EXPECT_EQ(parse_packet_float("2e+20"), 2e20);
  EXPECT_EQ(parse_packet_float("1.5E-7"), 1.5e-7);
  EXPECT_EQ(parse_packet_float("1."), 1.0);
  for (const char* bad : {"", "1,000.5", "1,2,3", "inf", "nan", "1e999", "abc", "."})
    EXPECT_FALSE(parse_packet_float(bad)) << bad;
}

TEST(DataPacketValuesTest, Booleans) {
  for (const char* t : {"TRUE", "True", "true", "1"}) EXPECT_EQ(parse_packet_boolean(t), true);
  for (const char* f : {"FALSE", "false", "0"}) EXPECT_EQ(parse_packet_boolean(f), false);
  for (const char* bad : {"", "yes", "T", "2"}) EXPECT_FALSE(parse_packet_boolean(bad)) << bad;
}

TEST(DataPacketValuesTest, DatesAndTimes) {
  EXPECT_EQ(parse_packet_date("18991230"), 0.0);
  EXPECT_EQ(parse_packet_date("20000229"), encode_date(2000, 2, 29));
  EXPECT_EQ(parse_packet_time("10:00:00000"), encode_time(10, 0, 0, 0));
  EXPECT_EQ(parse_packet_time("01:05:03"), encode_time(1, 5, 3, 0));
  EXPECT_EQ(parse_packet_time("01:05:03.25"), encode_time(1, 5, 3, 25));
  EXPECT_EQ(parse_packet_date_time("19950202T01:05:03000"),
            encode_date(1995, 2, 2) + encode_time(1, 5, 3, 0));
  EXPECT_EQ(parse_packet_date_time("19950202 01:05:03000"),
            encode_date(1995, 2, 2) + encode_time(1, 5, 3, 0));
  // Before 30 December 1899 the time is subtracted from the (negative) day.
  EXPECT_EQ(parse_packet_date_time("18991229T06:00:00000"), -1.25);
  for (const char* bad : {"", "1996061", "19960230", "19961301", "2000-01-01"})
    EXPECT_FALSE(parse_packet_date(bad)) << bad;
  for (const char* bad : {"24:00:00", "10:60:00", "10:00", "10:00:001234", "10-00-00"})
    EXPECT_FALSE(parse_packet_time(bad)) << bad;
  for (const char* bad : {"19950202X01:05:03", "19950202T", "19950202T25:00:00"})
    EXPECT_FALSE(parse_packet_date_time(bad)) << bad;
}

TEST(DataPacketValuesTest, Base64AndPictureHeader) {
  EXPECT_EQ(decode_base64("TWFu"), "Man");
  EXPECT_EQ(decode_base64("TWE="), "Ma");
  EXPECT_EQ(decode_base64("TQ=="), "M");
  EXPECT_EQ(decode_base64("TQ"), "M");  // padding may be missing
  EXPECT_EQ(decode_base64("TW Fu\r\nTQ=="), "ManM");
  EXPECT_EQ(decode_base64(""), "");
  for (const char* bad : {"T", "TQ==TQ==", "TW-u", "TWFu\x80"})
    EXPECT_FALSE(decode_base64(bad)) << bad;

  std::string picture(
      "\x01\x00\x00\x01\x02\x00\x00\x00"
      "BM",
      10);
  strip_legacy_graphic_header(picture);
  EXPECT_EQ(picture, "BM");
  for (std::string kept : {std::string("\x01\x00\x00\x01\x03\x00\x00\x00"
                                       "BM",
                                       10),
                           std::string("\x02\x00\x00\x01\x02\x00\x00\x00"
                                       "BM",
                                       10),
                           std::string("\x01\x00\x00\x02\x02\x00\x00\x00"
                                       "BM",
                                       10),
                           std::string("\x01\x00\x00\x01", 4)}) {
    std::string copy = kept;
    strip_legacy_graphic_header(copy);
    EXPECT_EQ(copy, kept);
  }
}

}  // namespace
}  // namespace zr
