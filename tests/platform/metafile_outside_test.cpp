// Our files as outside programs see them: ImageMagick reads WMF through libwmf; EMF needs
// LibreOffice. Each check is skipped when its program is missing.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "canvas_test_support.h"
#include "image_test_support.h"
#include "metafile_scene.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/metafile/metafile_recorder.h"
#include "platform/metafile/wmf_writer.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

class OutsideReader : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zr_metafile_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  // ZR_KEEP_METAFILES keeps the files for a look.
  void TearDown() override {
    if (!std::getenv("ZR_KEEP_METAFILES")) fs::remove_all(dir_);
  }

  fs::path write(const std::string& name, const std::string& bytes) {
    fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

  fs::path dir_;
};

bool imagemagick_reads_wmf() {
  return std::system("convert -list format 2>/dev/null | grep -q '^ *WMF'") == 0;
}

// Colour of a pixel without alpha, as "RRGGBB" components in the system's order.
uint32_t at(const Bitmap& b, int x, int y) {
  return color_over_white(b.pixel(x, y));
}

TEST_F(OutsideReader, ImageMagickDrawsOurWmf) {
  if (!test::has_identify() || !imagemagick_reads_wmf())
    GTEST_SKIP() << "ImageMagick without WMF support (libwmf)";
  fs::path wmf = write("scene.wmf", write_wmf(test::record_scene()));
  std::string wmf_bytes = slurp(wmf);
  EXPECT_EQ(test::identify(wmf_bytes, "wmf", "%m"), "WMF");
  fs::path bmp = dir_ / "scene.bmp";
  ASSERT_TRUE(run("convert -density 96 -background white '" + wmf.string() +
                  "' -flatten -type TrueColor BMP3:'" + bmp.string() + "' >/dev/null 2>&1"));
  Bitmap picture = decode_bmp(slurp(bmp));
  ASSERT_EQ(picture.width(), 320);
  ASSERT_EQ(picture.height(), 240);
  // Inside the yellow rectangle, ellipse and round rectangle; the white page; the blue frame;
  // the red dashed line's first dash; the hatch's green.
  EXPECT_EQ(at(picture, 60, 35), 0x00FFFFu);
  EXPECT_EQ(at(picture, 160, 35), 0x00FFFFu);
  EXPECT_EQ(at(picture, 260, 35), 0x00FFFFu);
  EXPECT_EQ(at(picture, 5, 230), 0xFFFFFFu);
  EXPECT_EQ(at(picture, 10, 35), 0xFF0000u);
  EXPECT_EQ(at(picture, 12, 70), 0x0000FFu);
  // The text drew in its colour inside its box. (ImageMagick places bitmaps of WMF files
  // scaled by its density twice, and libwmf knows no double-byte text: neither is checked.)
  int text_pixels = 0;
  for (int y = 142; y < 165; ++y)
    for (int x = 12; x < 110; ++x) text_pixels += at(picture, x, y) != 0xFFFFFFu;
  EXPECT_GT(text_pixels, 50);
  // Our reader plays the same file to the same filled shapes, give or take anti-aliased
  // edges (dash patterns and fonts are each renderer's own).
  test::Drawing ours(320, 240);
  read_wmf(wmf_bytes).play(*ours.canvas, test::kSceneFrame);
  ours.canvas->flush();
  if (std::getenv("ZR_KEEP_METAFILES")) write("ours.bmp", encode_bmp(ours.bitmap));
  Rect shapes{0, 0, 320, 65};
  auto close = [](uint32_t p, uint32_t q) {
    for (int shift = 0; shift < 24; shift += 8)
      if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > 64) return false;
    return true;
  };
  // Renderers may place an edge a pixel apart: a pixel matches one of its neighbours.
  int differing = 0;
  for (int y = shapes.top + 1; y < shapes.bottom - 1; ++y)
    for (int x = shapes.left + 1; x < shapes.right - 1; ++x) {
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx)
          found = close(at(picture, x, y), ours.at(x + dx, y + dy));
      differing += !found;
    }
  EXPECT_LT(differing, shapes.width() * shapes.height() / 50);
}

TEST_F(OutsideReader, LibreOfficeConvertsOurEmf) {
  // Metafiles go through Draw, which a Writer-only installation lacks.
  if (!run("test -e \"$(dirname \"$(readlink -f \"$(command -v soffice)\")\")/libsdlo.so\""))
    GTEST_SKIP() << "LibreOffice Draw is not installed";
  fs::path emf = write("scene.emf", write_emf(test::record_scene()));
  ASSERT_TRUE(run("cd '" + dir_.string() +
                  "' && soffice --headless --convert-to png scene.emf >/dev/null 2>&1"));
  ASSERT_TRUE(run("convert '" + (dir_ / "scene.png").string() +
                  "' -flatten -type TrueColor BMP3:'" + (dir_ / "scene.bmp").string() +
                  "' >/dev/null 2>&1"));
  // Draw puts the picture at its size on a page: find it by its ink.
  Bitmap page = decode_bmp(slurp(dir_ / "scene.bmp"));
  Rect ink{page.width(), page.height(), 0, 0};
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (at(page, x, y) != 0xFFFFFFu)
        ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
               std::max(ink.bottom, y + 1)};
  // The scene's ink spans (10,10)-(310,210).
  EXPECT_NEAR(ink.width(), 300, 3);
  EXPECT_NEAR(ink.height(), 200, 3);
  EXPECT_EQ(at(page, ink.left + 50, ink.top + 25), 0x00FFFFu);   // the yellow rectangle
  EXPECT_EQ(at(page, ink.left + 150, ink.top + 25), 0x00FFFFu);  // the ellipse
  // Both texts drew: "Total" in navy, the Korean one on its grey box.
  int navy = 0, dark_on_grey = 0;
  for (int y = ink.top + 130; y < ink.top + 192; ++y)
    for (int x = ink.left; x < ink.left + 140; ++x) {
      uint32_t c = at(page, x, y);
      navy += (c & 0xFFFF) < 0x4040 && (c >> 16) > 0x60;
      dark_on_grey += y > ink.top + 170 && c < 0x808080 && (c & 0xFF) < 0x80;
    }
  EXPECT_GT(navy, 40);
  EXPECT_GT(dark_on_grey, 20);
}

}  // namespace
}  // namespace zr
