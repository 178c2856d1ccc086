// Saving from the preview window of `zrviewer preview` shows the format's options window, on
// a virtual X display the test starts: the save dialog's type list chooses the format, the
// options window takes real key presses, OK writes the file with what was typed, and Esc
// cancels the export quietly (no file, no message, the pages shown again). The report has
// four pages, each with a red banner "Zorel sheet N".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "display_session.h"
#include "support/tool_run.h"

namespace {

using namespace zr::testing_support;
namespace fs = std::filesystem;

const Pixel kRed{255, 0, 0};
const char* const kNotice = "\xEC\x95\x88\xEB\x82\xB4";  // the caption of the viewer's messages

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The value of `name` in pdfinfo's output, without the padding.
std::string info_field(const std::string& info, const std::string& name) {
  std::istringstream lines(info);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with(name + ":")) continue;
    const size_t start = line.find_first_not_of(' ', name.size() + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
  }
  return "(none)";
}

using Geometry = DisplaySession::Geometry;

class PreviewExportOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"Xvfb", "xdotool", "import", "identify", "pdfinfo", "unzip"})
      if (!have_program(program)) GTEST_SKIP() << program << " is not installed (scripts/setup)";
    work = fresh_test_folder("zr_gui_export");
    display = std::make_unique<DisplaySession>(work / "shots");
    ASSERT_TRUE(display->ok()) << "Xvfb did not start";
    ToolResult built = build_gui_form("print", work / "sheets.zrf");
    ASSERT_EQ(built.status, 0) << built.output;
    viewer = display->spawn(
        {ZR_VIEWER_PATH, "--ReportFile", (work / "sheets.zrf").string(), "preview"},
        {{"ZOREL_HOME", (work / "home").string()}, {"USER", "tester"}}, work / "viewer.log");
    const auto found = display->find_window("Zorel Preview");
    ASSERT_TRUE(found) << read_file(work / "viewer.log");
    window = *found;
    ASSERT_TRUE(pages_shown()) << read_file(work / "viewer.log");
  }

  void TearDown() override {
    display.reset();
    if (!HasFailure()) fs::remove_all(work);
  }

  void focus(const std::string& id) { display->run("xdotool windowfocus --sync " + id); }

  bool pages_shown() {
    focus(window);
    return wait_until([&] {
      auto shot = display->screenshot();
      return shot && !shot->find(kRed).empty();
    });
  }

  // Runs `action` and waits until the screen shows its effect.
  void until_screen_changes(const std::function<void()>& action) {
    const auto before = display->screenshot();
    action();
    wait_until([&] {
      const auto now = display->screenshot();
      return before && now && now->rgb != before->rgb;
    });
  }

  // Ctrl+S, the file name typed, the type chosen from the dialog's type list (`keys` move
  // there from the first entry, "Zorel Print File"), Save: the options window of that type.
  std::optional<std::string> save_as(const fs::path& file, const std::string& keys,
                                     const std::string& options_title) {
    focus(window);
    display->run("xdotool key ctrl+s");
    const auto save = display->find_window("Save");
    if (!save) return std::nullopt;
    focus(*save);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    display->run("xdotool key ctrl+a");
    display->run("xdotool type --delay 30 '" + file.string() + "'");
    // The type list sits at the right, above the buttons.
    const Geometry g = display->geometry(*save);
    until_screen_changes([&] {
      display->run("xdotool mousemove " + std::to_string(g.x + g.width - 60) + " " +
                   std::to_string(g.y + g.height - 70) + " click 1");
    });
    until_screen_changes([&] { display->run("xdotool key " + keys + " Return"); });
    display->run("xdotool key alt+s");
    const auto options = display->find_window(options_title);
    if (options) focus(*options);
    return options;
  }

  // The viewer ends with the window, without a message on the way. An export may still be
  // finishing on a slow machine and swallow the first Escape: it is pressed again then.
  void close_viewer() {
    EXPECT_TRUE(display->window_gone(kNotice)) << read_file(work / "viewer.log");
    std::optional<int> status;
    for (int attempt = 0; attempt < 6 && !status; ++attempt) {
      focus(window);
      display->run("xdotool key Escape");
      status = display->wait_exit(viewer, 15);
    }
    ASSERT_TRUE(status) << "the viewer did not end";
    EXPECT_EQ(*status, 0) << read_file(work / "viewer.log");
  }

  fs::path work;
  std::unique_ptr<DisplaySession> display;
  pid_t viewer = -1;
  std::string window;
};

TEST_F(PreviewExportOptionsTest, PdfTakesTheTitleTypedAndEscWritesNothing) {
  // The title entry has the focus; Return in it is OK.
  const fs::path pdf = work / "sheets.pdf";
  const auto options = save_as(pdf, "Down", "PDF Export Options");
  ASSERT_TRUE(options) << read_file(work / "viewer.log");
  const Geometry g = display->geometry(*options);
  EXPECT_GT(g.width, 250);
  EXPECT_GT(g.height, 250);
  display->run("xdotool type --delay 30 'Quarterly sheets'");
  display->save_png(fs::path(ZR_SCREENSHOT_DIR) / "pdf_export_options.png",
                    std::to_string(g.width) + "x" + std::to_string(g.height) + "+" +
                        std::to_string(g.x) + "+" + std::to_string(g.y));
  display->run("xdotool key Return");
  std::string info;
  EXPECT_TRUE(wait_until([&] {
    info = run_command("pdfinfo '" + pdf.string() + "'").output;
    return info.find("Pages:") != std::string::npos;
  })) << read_file(work / "viewer.log");
  EXPECT_EQ(info_field(info, "Title"), "Quarterly sheets");
  EXPECT_EQ(info_field(info, "Author"), "tester");  // an empty author shows the login name
  EXPECT_TRUE(wait_until([&] { return display->window_gone("PDF Export Options"); }));
  EXPECT_TRUE(pages_shown()) << "the pages after saving";

  // Esc: no file and no message; the pages come back.
  const fs::path cancelled = work / "cancelled.pdf";
  ASSERT_TRUE(save_as(cancelled, "Down", "PDF Export Options"));
  display->run("xdotool type --delay 30 'Not wanted'");
  display->run("xdotool key Escape");
  EXPECT_TRUE(wait_until([&] { return display->window_gone("PDF Export Options"); }));
  EXPECT_FALSE(display->find_window(kNotice, 3)) << "a message after cancelling";
  EXPECT_TRUE(pages_shown()) << "the pages after cancelling";
  EXPECT_FALSE(fs::exists(cancelled));
  close_viewer();
}

TEST_F(PreviewExportOptionsTest, ExcelTakesTheTitleTyped) {
  // The Excel workbook is the last type of the list.
  const fs::path xlsx = work / "sheets.xlsx";
  ASSERT_TRUE(save_as(xlsx, "End", "Excel Export Options")) << read_file(work / "viewer.log");
  display->run("xdotool type --delay 30 'Sheets by hand'");
  display->run("xdotool key Return");
  std::string core;
  EXPECT_TRUE(wait_until([&] {
    core = run_command("unzip -p '" + xlsx.string() + "' docProps/core.xml").output;
    return core.find("</cp:coreProperties>") != std::string::npos;
  })) << read_file(work / "viewer.log");
  EXPECT_NE(core.find(">Sheets by hand<"), std::string::npos) << core;
  EXPECT_TRUE(wait_until([&] { return display->window_gone("Excel Export Options"); }));
  EXPECT_TRUE(pages_shown());
  close_viewer();
}

// The quality entry of the JPEG options takes digits only: "5x0" typed is 50.
TEST_F(PreviewExportOptionsTest, JpegQualityTakesDigitsOnly) {
  const fs::path jpeg = work / "sheets.jpg";
  ASSERT_TRUE(save_as(jpeg, "Down Down Down Down", "JPEG Export Options"))
      << read_file(work / "viewer.log");
  // From Scale X (which has the focus) past Scale Y and the pixel format to the quality.
  display->run("xdotool key Tab Tab Tab ctrl+a");
  display->run("xdotool type --delay 50 '5x0'");
  display->run("xdotool key Return");
  std::string quality;
  EXPECT_TRUE(wait_until([&] {
    quality = run_command("identify -format '%Q' '" + jpeg.string() + "'").output;
    return !quality.empty() && quality.find("identify") == std::string::npos;
  })) << read_file(work / "viewer.log");
  EXPECT_EQ(quality, "50");
  EXPECT_TRUE(wait_until([&] { return display->window_gone("JPEG Export Options"); }));
  close_viewer();
}

}  // namespace
