#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/graphics/picture.h"
#include "platform/picture_test_files.h"

namespace zr {
namespace {

struct KindCase {
  GraphicKind kind;
  std::string bytes;
  ImageSize size;
  const char* extension;
};

std::vector<KindCase> kinds() {
  return {
      {GraphicKind::Bitmap, test::bmp_file(), {5, 3}, "BMP"},
      {GraphicKind::Jpeg, test::jpeg_file(), {6, 4}, "jpeg"},
      {GraphicKind::Icon, test::ico_file(), {1, 1}, "ico"},
      {GraphicKind::Metafile, test::emf_file(), {96, 48}, "emf"},
      {GraphicKind::Metafile, test::wmf_file(), {96, 48}, "wmf"},
      {GraphicKind::Gif, test::gif_file(), {7, 2}, "gif"},
  };
}

TEST(PictureBytes, KeepsOriginalBytesAndReadsSizeFromHeaders) {
  for (const KindCase& c : kinds()) {
    SCOPED_TRACE(c.extension);
    Picture picture = Picture::from_bytes(c.kind, c.bytes);
    EXPECT_FALSE(picture.empty());
    EXPECT_EQ(picture.kind(), c.kind);
    EXPECT_EQ(picture.bytes(), c.bytes);
    EXPECT_EQ(picture.width(), c.size.width);
    EXPECT_EQ(picture.height(), c.size.height);
    EXPECT_EQ(detect_graphic_kind(c.bytes), c.kind);
    EXPECT_EQ(Picture::from_detected_bytes(c.bytes), picture);
    if (c.kind == GraphicKind::Metafile) {
      EXPECT_THROW(picture.bitmap(), ZorelError);
      continue;
    }
    const Bitmap& bitmap = picture.bitmap();
    EXPECT_EQ(bitmap.width(), c.size.width);
    EXPECT_EQ(bitmap.height(), c.size.height);
    Picture copy = picture;
    EXPECT_EQ(&copy.bitmap(), &bitmap);  // copies share the decoded pixels
  }
}

TEST(PictureBytes, LosslessKindsDecodeToTheirPixels) {
  EXPECT_EQ(Picture::from_bytes(GraphicKind::Bitmap, test::bmp_file()).bitmap(),
            test::checker(5, 3));
  EXPECT_EQ(Picture::from_bytes(GraphicKind::Gif, test::gif_file()).bitmap(), test::checker(7, 2));
  EXPECT_EQ(Picture::from_bytes(GraphicKind::Icon, test::ico_file()).bitmap().color(0, 0),
            0x0000FFu);
}

TEST(PictureBytes, EmptyAndInvalidContent) {
  Picture empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.kind(), GraphicKind::None);
  EXPECT_EQ(empty.bytes(), "");
  EXPECT_EQ(empty.width(), 0);
  EXPECT_THROW(empty.bitmap(), ZorelError);
  EXPECT_TRUE(Picture::from_bytes(GraphicKind::Jpeg, "").empty());
  EXPECT_TRUE(Picture::from_bytes(GraphicKind::None, test::bmp_file()).empty());

  // The kind must match the content; a Windows metafile without the placeable header has no
  // size and is refused.
  EXPECT_THROW(Picture::from_bytes(GraphicKind::Jpeg, test::gif_file()), FormatError);
  EXPECT_THROW(Picture::from_bytes(GraphicKind::Metafile, test::wmf_file().substr(22)),
               FormatError);
  EXPECT_THROW(Picture::from_detected_bytes("plain text"), FormatError);

  // A valid header over damaged pixels loads, and fails only when drawn.
  std::string cut = test::bmp_file();
  cut.resize(cut.size() - 4);
  Picture damaged = Picture::from_bytes(GraphicKind::Bitmap, cut);
  EXPECT_EQ(damaged.width(), 5);
  EXPECT_THROW(damaged.bitmap(), FormatError);

  Picture picture = Picture::from_bytes(GraphicKind::Gif, test::gif_file());
  picture.clear();
  EXPECT_EQ(picture, Picture());
}

TEST(PictureBytes, KindFromExtensionAndBlobType) {
  const std::pair<const char*, std::optional<GraphicKind>> names[] = {
      {"a.bmp", GraphicKind::Bitmap},   {"dir.x/A.JPG", GraphicKind::Jpeg},
      {"b.jpeg", GraphicKind::Jpeg},    {"c.ico", GraphicKind::Icon},
      {"d.WMF", GraphicKind::Metafile}, {"e.emf", GraphicKind::Metafile},
      {"f.gif", GraphicKind::Gif},      {"g.png", std::nullopt},
      {"dir.bmp/noext", std::nullopt},  {"", std::nullopt},
  };
  for (const auto& [name, kind] : names) EXPECT_EQ(graphic_kind_from_extension(name), kind) << name;
  // BlobType 2 is a metafile and 3 an icon: the reverse of the record bytes.
  EXPECT_EQ(graphic_kind_from_blob_type(2), GraphicKind::Metafile);
  EXPECT_EQ(graphic_kind_from_blob_type(3), GraphicKind::Icon);
  EXPECT_EQ(graphic_kind_from_blob_type(4), GraphicKind::Gif);
  EXPECT_EQ(graphic_kind_from_blob_type(5), std::nullopt);
  EXPECT_EQ(graphic_kind_from_byte(2), GraphicKind::Icon);
  EXPECT_EQ(graphic_kind_from_byte(3), GraphicKind::Metafile);
  EXPECT_EQ(graphic_kind_from_byte(99), GraphicKind::None);
  EXPECT_EQ(graphic_kind_from_byte(5), std::nullopt);
}

class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("zr_picture_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return dir_ / name;
  }
  std::filesystem::path dir_;
};

TEST_F(PictureFiles, LoadsByExtensionAndSavesTheSameBytes) {
  for (const KindCase& c : kinds()) {
    Picture picture = Picture::from_file(write(std::string("p.") + c.extension, c.bytes));
    EXPECT_EQ(picture.kind(), c.kind) << c.extension;
    picture.save_to_file(dir_ / "copy");
    std::ifstream in(dir_ / "copy", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bytes) << c.extension;
  }
  EXPECT_THROW(Picture::from_file(write("p.png", test::bmp_file())), FormatError);
  EXPECT_THROW(Picture::from_file(write("gif.jpg", test::gif_file())), FormatError);
  EXPECT_THROW(Picture::from_file(dir_ / "missing.bmp"), IoError);
  std::filesystem::create_directory(dir_ / "folder.bmp");
  EXPECT_THROW(Picture::from_file(dir_ / "folder.bmp"), IoError);
  EXPECT_THROW(Picture().save_to_file(dir_ / "no" / "such" / "dir.bmp"), IoError);
}

}  // namespace
}  // namespace zr
