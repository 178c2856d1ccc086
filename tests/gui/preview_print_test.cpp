// Printing from the preview window of `zrviewer preview`, on a virtual X display and a CUPS
// server the test starts itself (its queues' devices are files; submitted documents stay in
// its spool): Ctrl+P opens the print dialog, the pages typed into its numbers entry are the
// pages the queue receives, another queue chosen gets the job, Esc and Cancel print nothing,
// a page list that is not numbers is a message, and without a queue Ctrl+P does nothing.
// The report has four pages, each with the banner "Zorel sheet N".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "display_session.h"
#include "support/private_cups_server.h"
#include "support/tool_run.h"

namespace {

using namespace zr::testing_support;
namespace fs = std::filesystem;

const Pixel kRed{255, 0, 0};
const char* const kNotice = "\xEC\x95\x88\xEB\x82\xB4";  // the caption of the viewer's messages
const std::string kPdfLaser = ZR_TEST_DATA_DIR "/printing/pdf_laser.ppd";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class PreviewPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"Xvfb", "xdotool", "import", "pdftotext", "pdfinfo"})
      if (!have_program(program)) GTEST_SKIP() << program << " is not installed (scripts/setup)";
    if (!PrivateCupsServer::installed()) GTEST_SKIP() << "cupsd is not installed";
    work = fresh_test_folder("zr_gui_print");
    display = std::make_unique<DisplaySession>(work / "shots");
    ASSERT_TRUE(display->ok()) << "Xvfb did not start";
    ToolResult built = build_gui_form("print", work / "sheets.zrf");
    ASSERT_EQ(built.status, 0) << built.output;
  }

  void TearDown() override {
    display.reset();
    if (!HasFailure()) fs::remove_all(work);
  }

  // The viewer previews the four sheets with `server` as its print server.
  pid_t start_viewer(const PrivateCupsServer& server) {
    return display->spawn(
        {ZR_VIEWER_PATH, "--ReportFile", (work / "sheets.zrf").string(), "preview"},
        {{"CUPS_SERVER", server.socket().string()},
         {"PRINTER", "ZorelFile"},
         {"ZOREL_HOME", (work / "home").string()}},
        work / "viewer.log");
  }

  // The preview window, focused, with its first page drawn.
  std::string preview_window() {
    const auto window = display->find_window("Zorel Preview");
    if (!window) return {};
    focus(*window);
    wait_until([&] {
      auto shot = display->screenshot();
      return shot && !shot->find(kRed).empty();
    });
    return *window;
  }

  void focus(const std::string& window) { display->run("xdotool windowfocus --sync " + window); }

  // Ctrl+P in the preview; the print dialog, focused.
  std::optional<std::string> open_print_dialog(const std::string& window) {
    focus(window);
    display->run("xdotool key ctrl+p");
    const auto dialog = display->find_window("Print");
    if (dialog) focus(*dialog);
    return dialog;
  }

  // Types `pages` into the numbers entry (its radio button's mnemonic leads there).
  void type_pages(const std::string& pages) {
    display->run("xdotool key alt+p");
    display->run("xdotool type --delay 50 '" + pages + "'");
  }

  // Presses `keys` and waits until the screen shows their effect.
  void press_until_screen_changes(const std::string& keys) {
    const auto before = display->screenshot();
    display->run("xdotool key " + keys);
    wait_until([&] {
      const auto now = display->screenshot();
      return before && now && now->rgb != before->rgb;
    });
  }

  // The text of page `page` (1-based) of the PDF `file`.
  static std::string page_text(const std::string& file, int page) {
    const std::string n = std::to_string(page);
    return run_command("pdftotext -f " + n + " -l " + n + " '" + file + "' -").output;
  }

  fs::path work;
  std::unique_ptr<DisplaySession> display;
};

TEST_F(PreviewPrintTest, PrintsThePagesTypedAndNothingWhenCancelled) {
  PrivateCupsServer server(
      {{"ZorelFile", kPdfLaser, "Test PDF Laser", true}, {"Second", kPdfLaser, "Test PDF Laser"}});
  ASSERT_TRUE(server.running()) << "the private cupsd did not start:\n" << server.error_log();
  const pid_t viewer = start_viewer(server);
  const std::string window = preview_window();
  ASSERT_FALSE(window.empty()) << read_file(work / "viewer.log");

  // Pages 2-3, OK (Return in the entry): one job of two pages, sheets 2 and 3.
  const auto first = open_print_dialog(window);
  ASSERT_TRUE(first) << "no print dialog";
  type_pages("2-3");
  const DisplaySession::Geometry g = display->geometry(*first);
  display->save_png(fs::path(ZR_SCREENSHOT_DIR) / "print_dialog.png",
                    std::to_string(g.width) + "x" + std::to_string(g.height) + "+" +
                        std::to_string(g.x) + "+" + std::to_string(g.y));
  display->run("xdotool key Return");
  std::vector<CupsJobRecord> jobs;
  std::string pages;
  ASSERT_TRUE(wait_until([&] {
    jobs = server.jobs();
    if (jobs.size() != 1) return false;
    pages = run_command("pdfinfo '" + jobs[0].document + "'").output;
    return pages.find("Pages:") != std::string::npos;
  })) << read_file(work / "viewer.log");
  EXPECT_EQ(jobs[0].printer, "ZorelFile");
  EXPECT_EQ(jobs[0].copies, 1);
  EXPECT_EQ(std::atoi(pages.c_str() + pages.find("Pages:") + 6), 2) << pages;
  EXPECT_NE(page_text(jobs[0].document, 1).find("Zorel sheet 2"), std::string::npos);
  EXPECT_NE(page_text(jobs[0].document, 2).find("Zorel sheet 3"), std::string::npos);
  const std::string all = run_command("pdftotext '" + jobs[0].document + "' -").output;
  EXPECT_EQ(all.find("Zorel sheet 1"), std::string::npos) << all;
  EXPECT_EQ(all.find("Zorel sheet 4"), std::string::npos) << all;
  EXPECT_TRUE(wait_until([&] { return display->window_gone("Print"); }));

  // The pages are shown again after printing.
  focus(window);
  EXPECT_TRUE(wait_until([&] {
    auto shot = display->screenshot();
    return shot && !shot->find(kRed).empty();
  })) << "the pages after printing";

  // The other queue (the server lists its queues by name: "Second" comes first), chosen from
  // the drop-down with the keyboard (Alt+N leads there), then Print by its mnemonic: the
  // report is laid out for that queue again and all four pages go there.
  ASSERT_TRUE(open_print_dialog(window));
  display->run("xdotool key alt+n");
  press_until_screen_changes("space");        // the list opens
  press_until_screen_changes("Home Return");  // and closes on the first entry
  display->run("xdotool key alt+r");
  ASSERT_TRUE(wait_until([&] {
    jobs = server.jobs();
    return jobs.size() == 2 &&
           run_command("pdfinfo '" + jobs[1].document + "'").output.find("Pages:") !=
               std::string::npos;
  })) << read_file(work / "viewer.log");
  EXPECT_EQ(jobs[1].printer, "Second");
  const std::string second = run_command("pdftotext '" + jobs[1].document + "' -").output;
  for (const char* sheet : {"Zorel sheet 1", "Zorel sheet 4"})
    EXPECT_NE(second.find(sheet), std::string::npos) << second;
  EXPECT_TRUE(wait_until([&] { return display->window_gone("Print"); }));

  // Pages that are not numbers: the message, nothing printed.
  ASSERT_TRUE(open_print_dialog(window));
  type_pages("2-x");
  display->run("xdotool key Return");
  const auto notice = display->find_window(kNotice);
  ASSERT_TRUE(notice) << "no message about the page list";
  focus(*notice);
  display->run("xdotool key Return");
  EXPECT_TRUE(wait_until([&] { return display->window_gone(kNotice); }));

  // Esc and Cancel (the right-hand button at the bottom) print nothing.
  ASSERT_TRUE(open_print_dialog(window));
  type_pages("1");
  display->run("xdotool key Escape");
  EXPECT_TRUE(wait_until([&] { return display->window_gone("Print"); }));
  const auto dialog = open_print_dialog(window);
  ASSERT_TRUE(dialog);
  const DisplaySession::Geometry d = display->geometry(*dialog);
  ASSERT_GT(d.width, 100);
  display->run("xdotool mousemove " + std::to_string(d.x + d.width - 30) + " " +
               std::to_string(d.y + d.height - 22) + " click 1");
  EXPECT_TRUE(wait_until([&] { return display->window_gone("Print"); })) << "Cancel";

  // The viewer ends with the window; by then anything it printed would be at the server.
  focus(window);
  display->run("xdotool key Escape");
  const auto status = display->wait_exit(viewer);
  ASSERT_TRUE(status) << "the viewer did not end";
  EXPECT_EQ(*status, 0) << read_file(work / "viewer.log");
  EXPECT_EQ(server.jobs().size(), 2u);
}

TEST_F(PreviewPrintTest, WithoutAQueueCtrlPDoesNothing) {
  PrivateCupsServer server({});
  ASSERT_TRUE(server.running()) << "the private cupsd did not start:\n" << server.error_log();
  const pid_t viewer = start_viewer(server);
  const std::string window = preview_window();
  ASSERT_FALSE(window.empty()) << read_file(work / "viewer.log");
  // Keys are handled in turn: had Ctrl+P opened the modal print dialog, Ctrl+F would have
  // gone to it and the find dialog would not come.
  display->run("xdotool key ctrl+p ctrl+f");
  const auto find = display->find_window("Find text");
  ASSERT_TRUE(find) << "no find dialog";
  EXPECT_TRUE(display->window_gone("Print"));
  focus(*find);
  display->run("xdotool key Escape");
  EXPECT_TRUE(wait_until([&] { return display->window_gone("Find text"); }));
  focus(window);
  display->run("xdotool key Escape");
  const auto status = display->wait_exit(viewer);
  ASSERT_TRUE(status) << "the viewer did not end";
  EXPECT_EQ(*status, 0) << read_file(work / "viewer.log");
}

}  // namespace
