#include <gtest/gtest.h>

#include "platform/byte_stream.h"
#include "platform/errors.h"
#include "platform/graphics/picture_record.h"
#include "platform/picture_test_files.h"

namespace zr {
namespace {

// Writes a stand-in for the common record, the picture items, then a trailer that the
// reader must land on.
std::string record(const Picture& picture, uint8_t blob_type, std::string_view url,
                   size_t* items_at = nullptr) {
  ByteWriter out;
  out.write_bytes("COMMON");
  if (items_at) *items_at = out.position();
  write_picture_record(out, picture, blob_type, url);
  out.write_bytes("NEXT");
  return out.take();
}

PictureRecord read_back(const std::string& bytes, int record_version = 2,
                        int extension_version = 0) {
  ByteReader in(bytes, "<form>");
  in.skip(6);
  PictureRecord r = read_picture_record(in, record_version, extension_version);
  EXPECT_EQ(in.read_bytes(4), "NEXT");
  return r;
}

TEST(PictureRecord, NoPictureEndsRightAfterItself) {
  const std::string bytes = record(Picture(), 0, "");
  // kind 99, BlobType, " " in the version-23 form, end position, no data.
  ByteWriter expected;
  expected.write_bytes("COMMON");
  expected.write_u8(99);
  expected.write_u8(0);
  expected.write_string_v23(" ");
  expected.write_u32(static_cast<uint32_t>(expected.position() + 4));
  expected.write_bytes("NEXT");
  EXPECT_EQ(bytes, expected.bytes());

  PictureRecord r = read_back(bytes);
  EXPECT_TRUE(r.picture.empty());
  EXPECT_EQ(r.url, "");  // the " " written for an empty URL is trimmed away
  EXPECT_EQ(r.blob_type, 0);
  EXPECT_EQ(r.load_error, "");
}

TEST(PictureRecord, EveryKindRoundTripsItsBytes) {
  const Picture pictures[] = {
      Picture::from_bytes(GraphicKind::Bitmap, test::bmp_file()),
      Picture::from_bytes(GraphicKind::Jpeg, test::jpeg_file()),
      Picture::from_bytes(GraphicKind::Icon, test::ico_file()),
      Picture::from_bytes(GraphicKind::Metafile, test::emf_file()),
      Picture::from_bytes(GraphicKind::Gif, test::gif_file()),
  };
  for (const Picture& picture : pictures) {
    SCOPED_TRACE(graphic_kind_name(picture.kind()));
    size_t at = 0;
    const std::string bytes = record(picture, 4, "  http://host/a.gif\t", &at);
    EXPECT_EQ(static_cast<uint8_t>(bytes[at]), static_cast<uint8_t>(picture.kind()));
    PictureRecord r = read_back(bytes);
    EXPECT_EQ(r.picture, picture);
    EXPECT_EQ(r.blob_type, 4);
    EXPECT_EQ(r.url, "http://host/a.gif");
    // Written again, the record is byte for byte what it was.
    EXPECT_EQ(record(r.picture, *r.blob_type, "  http://host/a.gif\t"), bytes);
  }
}

TEST(PictureRecord, KindByteFollowsWhatTheBlobTypeMade) {
  // BlobType 2 ("btICO") loads a metafile and 3 ("btWMF") an icon; the record then carries
  // the kind byte of what the picture became.
  size_t at = 0;
  Picture metafile = Picture::from_bytes(*graphic_kind_from_blob_type(2), test::emf_file());
  EXPECT_EQ(record(metafile, 2, "", &at)[at], 3);
  Picture icon = Picture::from_bytes(*graphic_kind_from_blob_type(3), test::ico_file());
  EXPECT_EQ(record(icon, 3, "", &at)[at], 2);
}

TEST(PictureRecord, BlobTypeIsReadOnlyFromLaterVersions) {
  struct Case {
    int record_version, extension_version;
    bool has_blob_type;
  };
  for (Case c : {Case{1, 0, false}, Case{0, 9, false}, Case{1, 1, true}, Case{2, 0, true}}) {
    // An old record has no BlobType byte: build it without one.
    ByteWriter out;
    out.write_bytes("COMMON");
    out.write_u8(99);
    if (c.has_blob_type) out.write_u8(3);
    out.write_string_v23("u");
    out.write_u32(static_cast<uint32_t>(out.position() + 4));
    out.write_bytes("NEXT");
    PictureRecord r = read_back(out.bytes(), c.record_version, c.extension_version);
    EXPECT_EQ(r.blob_type.has_value(), c.has_blob_type);
    EXPECT_EQ(r.url, "u");
  }
}

TEST(PictureRecord, LoadProblemsLeaveAnEmptyPictureAndTheReaderAtTheEnd) {
  // Unknown kind byte, and a bitmap kind over GIF data: skipped whole, with the reason.
  std::string unknown = record(Picture::from_bytes(GraphicKind::Gif, test::gif_file()), 0, "");
  unknown[6] = 7;
  PictureRecord r = read_back(unknown);
  EXPECT_TRUE(r.picture.empty());
  EXPECT_NE(r.load_error.find("kind 7"), std::string::npos);

  std::string mismatched = unknown;
  mismatched[6] = 0;
  r = read_back(mismatched);
  EXPECT_TRUE(r.picture.empty());
  EXPECT_FALSE(r.load_error.empty());

  // Kind 99 with bytes before the end position: skipped.
  std::string with_data = unknown;
  with_data[6] = 99;
  r = read_back(with_data);
  EXPECT_TRUE(r.picture.empty());
  EXPECT_EQ(r.load_error, "");
}

TEST(PictureRecord, DamagedRecordsRaise) {
  size_t at = 0;
  const std::string good = record(Picture(), 0, "", &at);
  const size_t end_slot = at + 2 + 2 + 1 + 1;  // kind, BlobType, " " as length + byte + 0
  auto with_end = [&](uint32_t end) {
    std::string s = good;
    for (int i = 0; i < 4; ++i) s[end_slot + i] = static_cast<char>((end >> (8 * i)) & 0xFF);
    return s;
  };
  const std::string cases[] = {
      with_end(static_cast<uint32_t>(end_slot + 3)),     // before the graphic data
      with_end(static_cast<uint32_t>(good.size() + 1)),  // past the stream
      with_end(0xFFFFFFFFu),                             // negative
      good.substr(0, end_slot + 2),                      // truncated
  };
  for (const std::string& bytes : cases) {
    ByteReader in(bytes, "<form>");
    in.skip(6);
    EXPECT_THROW(read_picture_record(in, 2, 0), FormatError);
  }
}

}  // namespace
}  // namespace zr
