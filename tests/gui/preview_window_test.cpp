// The preview window of `zrviewer preview`, on a virtual X display the test starts: real key
// presses and clicks (XTEST through xdotool), checked from screenshots. The report is a list
// of 200 rows (five pages) served from a loopback server with a red banner, a green link, a
// cyan drill-down and, on page 4, the row "Needle".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "display_session.h"
#include "support/http_server.h"
#include "support/tool_run.h"

namespace {

using namespace zr::testing_support;
namespace fs = std::filesystem;

const Pixel kRed{255, 0, 0}, kGreen{0, 255, 0}, kCyan{0, 255, 255}, kBlue{0, 0, 255},
    kMagenta{255, 0, 255};
const char* const kNotice = "\xEC\x95\x88\xEB\x82\xB4";  // the caption of the viewer's messages
const Pixel kBackground{255, 253, 234};
// The checked radio item of the zoom menu (the theme's accent) and the menu's item pitch.
const Pixel kAccent{53, 132, 228};
constexpr int kMenuPitch = 24;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string data_page(int rows) {
  std::ostringstream page;
  page << "<html><body><PRE>\n<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET "
          "Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"ID\" fieldtype=\"i4\"/><FIELD "
          "attrname=\"Name\" fieldtype=\"string\" WIDTH=\"20\"/></FIELDS><PARAMS/></METADATA>"
          "<ROWDATA>";
  for (int i = 1; i <= rows; ++i)
    page << "<ROW ID=\"" << i << "\" Name=\"" << (i == 160 ? "Needle" : "Row") << "\"/>";
  page << "</ROWDATA></DATAPACKET>\nDATANAME=M\n</PRE></body></html>\n";
  return page.str();
}

using Geometry = DisplaySession::Geometry;

class PreviewWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"Xvfb", "xdotool", "import"})
      if (!have_program(program)) GTEST_SKIP() << program << " is not installed (scripts/setup)";
    work = fresh_test_folder("zr_gui");
    fs::create_directories(work / "bin");
    display = std::make_unique<DisplaySession>(work / "shots");
    ASSERT_TRUE(display->ok()) << "Xvfb did not start";

    for (const char* form : {"list", "drill"}) {
      const fs::path zrf = work / (std::string(form) + ".zrf");
      ToolResult built = build_gui_form(form, zrf);
      ASSERT_EQ(built.status, 0) << built.output;
      server.add(std::string("/") + form + ".zrf", read_file(zrf), "application/octet-stream");
    }
    server.add("/list.html", data_page(200));
    server.add("/site/page.html", "<html></html>");
    // The stand-in browser notes what it is asked to open.
    const fs::path opener = work / "bin" / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\necho \"$@\" >> '" << (work / "opened.log").string()
                          << "'\n";
    fs::permissions(opener, fs::perms::owner_all);
  }

  void TearDown() override {
    display.reset();
    if (!HasFailure()) fs::remove_all(work);
  }

  pid_t start_viewer(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> argv = {
        ZR_VIEWER_PATH,           "--ReportFile", server.url("/list.zrf"),      "--dataFile",
        server.url("/list.html"), "--host-page",  server.url("/site/page.html")};
    argv.insert(argv.end(), extra.begin(), extra.end());
    argv.push_back("preview");
    const std::string path = (work / "bin").string() + ":" + std::getenv("PATH");
    return display->spawn(argv, {{"PATH", path}, {"ZOREL_HOME", (work / "home").string()}},
                          work / "viewer.log");
  }

  // Waits for a screenshot that satisfies `ready`; the last one taken.
  Screenshot shot_when(const std::function<bool(const Screenshot&)>& ready, double seconds = 60) {
    Screenshot last;
    wait_until(
        [&] {
          auto shot = display->screenshot();
          if (!shot) return false;
          last = std::move(*shot);
          return ready(last);
        },
        seconds);
    return last;
  }

  std::vector<unsigned char> label_of(const Screenshot& shot, const Geometry& g) {
    return shot.crop(g.x + 2, g.y + g.height - 18, 80, 18);
  }
  std::vector<unsigned char> label_after(
      const std::string& keys, const Geometry& g,
      const std::function<bool(const std::vector<unsigned char>&)>& ready) {
    if (!keys.empty()) display->run("xdotool key " + keys);
    std::vector<unsigned char> label;
    shot_when([&](const Screenshot& shot) {
      label = label_of(shot, g);
      return ready(label);
    });
    return label;
  }
  // Clicks stand far enough apart in time never to make a double click.
  void click(int x, int y) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    display->run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y));
    display->run("xdotool mousemove " + std::to_string(x + 1) + " " + std::to_string(y));
    display->run("xdotool click 1");
  }

  fs::path work;
  HttpTestServer server;
  std::unique_ptr<DisplaySession> display;
};

// Scans from (x, y) by (dx, dy) to the first dark pixel: the frame of the page.
int scan_to_dark(const Screenshot& shot, int x, int y, int dx, int dy) {
  for (int i = 0; i < 400; ++i, x += dx, y += dy) {
    const Pixel p = shot.at(x, y);
    if (p.r >= 0 && p.r < 90 && p.g < 90 && p.b < 90) return dx ? x : y;
  }
  return -1;
}

TEST_F(PreviewWindowTest, ReadPageZoomFindLinkDrillDownAndClose) {
  const pid_t viewer = start_viewer({"--History", "1"});
  const auto window = display->find_window("Zorel Preview");
  ASSERT_TRUE(window) << read_file(work / "viewer.log");
  display->run("xdotool windowfocus --sync " + *window);
  const Geometry g = display->geometry(*window);
  ASSERT_GT(g.width, 300);

  // 100 %: the page's top-left corner lies 10 pixels into the box, the banner 60, 50 into
  // the page, drawn at its own size.
  Screenshot shot = shot_when([](const Screenshot& s) { return !s.find(kRed).empty(); });
  const Box banner = shot.find(kRed);
  ASSERT_FALSE(banner.empty()) << "no page drawn";
  EXPECT_NEAR(banner.width(), 240, 2);
  EXPECT_NEAR(banner.height(), 40, 2);
  // The banner's own frame first, then the page's.
  const int frame_left = scan_to_dark(shot, banner.left, banner.top + 20, -1, 0);
  const int frame_top = scan_to_dark(shot, banner.left + 20, banner.top, 0, -1);
  const int page_left = scan_to_dark(shot, frame_left - 2, banner.top + 20, -1, 0);
  const int page_top = scan_to_dark(shot, banner.left + 20, frame_top - 2, 0, -1);
  EXPECT_NEAR(frame_left - page_left, 60, 1);
  EXPECT_NEAR(frame_top - page_top, 50, 1);  // the band below the top margin of 40
  EXPECT_TRUE(shot.at(page_left - 6, page_top - 6).near(kBackground, 6))
      << "the box around the page";
  display->save_png(fs::path(ZR_SCREENSHOT_DIR) / "preview.png",
                    std::to_string(g.width) + "x" + std::to_string(g.height) + "+" +
                        std::to_string(g.x) + "+" + std::to_string(g.y));

  // Ctrl+Page Down and Ctrl+End change the page and its label; Ctrl+Home brings back page 1.
  const auto first = label_of(shot, g);
  const auto second = label_after("ctrl+Next", g, [&](const auto& l) { return l != first; });
  ASSERT_NE(second, first);
  const auto last = label_after("ctrl+End", g, [&](const auto& l) { return l != second; });
  ASSERT_NE(last, second);
  ASSERT_EQ(label_after("ctrl+Home", g, [&](const auto& l) { return l == first; }), first);
  label_after("ctrl+Next ctrl+Next ctrl+Next", g, [&](const auto& l) { return l != first; });
  const auto fourth = label_after("", g, [&](const auto& l) { return l != first && l != second; });
  ASSERT_EQ(label_after("ctrl+Home", g, [&](const auto& l) { return l == first; }), first);

  // Ctrl+F finds "needle" on page 4 and scrolls there.
  display->run("xdotool key ctrl+f");
  const auto find = display->find_window("Find text");
  ASSERT_TRUE(find) << "no find dialog";
  display->run("xdotool type --delay 50 needle");
  display->run("xdotool key Return");
  EXPECT_EQ(label_after("", g, [&](const auto& l) { return l == fourth; }), fourth);
  EXPECT_TRUE(wait_until([&] { return display->window_gone("Find text"); }));
  label_after("ctrl+Home", g, [&](const auto& l) { return l == first; });

  // The zoom menu (Space) opens with "100%" checked; "Whole page" is six items below it.
  display->run("xdotool key space");
  Box checked;
  shot_when([&](const Screenshot& s) {
    checked = s.find(kAccent, 30);
    return !checked.empty() && checked.width() < 20;
  });
  ASSERT_FALSE(checked.empty()) << "no zoom menu";
  click((checked.left + checked.right) / 2, (checked.top + checked.bottom) / 2 + 6 * kMenuPitch);
  shot = shot_when([](const Screenshot& s) {
    const Box b = s.find(kRed);
    return !b.empty() && b.width() < 150;
  });
  const Box small = shot.find(kRed);
  ASSERT_FALSE(small.empty());
  EXPECT_LT(small.width(), 150) << "whole page zoom";
  // The whole page is in the window: its bottom frame lies above the page label.
  const int bottom = scan_to_dark(shot, small.left + 5, small.bottom + 30, 0, 1);
  EXPECT_GT(bottom, small.bottom);
  EXPECT_LT(bottom, g.y + g.height - 18);

  // A click on the link opens its address with the desktop's opener.
  const Box link = shot.find(kGreen);
  ASSERT_FALSE(link.empty());
  click((link.left + link.right) / 2, (link.top + link.bottom) / 2);
  EXPECT_TRUE(wait_until([&] {
    return read_file(work / "opened.log").find("http://example.invalid/more?id=7") !=
           std::string::npos;
  })) << read_file(work / "viewer.log");

  // A click on the drill-down loads the other report from the server in its place.
  const Box drill = shot.find(kCyan);
  ASSERT_FALSE(drill.empty());
  click((drill.left + drill.right) / 2, (drill.top + drill.bottom) / 2);
  shot =
      shot_when([](const Screenshot& s) { return !s.find(kBlue).empty() && s.find(kRed).empty(); });
  EXPECT_FALSE(shot.find(kBlue).empty()) << read_file(work / "viewer.log");
  EXPECT_TRUE(shot.find(kRed).empty());

  // A drill-down to a form the server does not have: the viewer's message, and the report
  // clicked stays.
  const Box missing = shot.find(kMagenta);
  ASSERT_FALSE(missing.empty());
  click((missing.left + missing.right) / 2, (missing.top + missing.bottom) / 2);
  const auto failed = display->find_window(kNotice);
  ASSERT_TRUE(failed) << "no message about the missing report";
  display->run("xdotool windowfocus --sync " + *failed);
  display->run("xdotool key Return");
  EXPECT_TRUE(wait_until([&] { return display->window_gone(kNotice); }));
  display->run("xdotool windowfocus --sync " + *window);
  shot = shot_when([](const Screenshot& s) { return !s.find(kBlue).empty(); });
  EXPECT_FALSE(shot.find(kBlue).empty()) << "the drill-down report stays";

  // Both runs are in the history; the first opens from the open dialog.
  std::vector<fs::path> runs;
  for (const auto& entry : fs::directory_iterator(work / "home" / "History"))
    if (entry.path().filename() != "zHistory.dat") runs.push_back(entry.path());
  std::sort(runs.begin(), runs.end());
  ASSERT_FALSE(runs.empty());
  display->run("xdotool key ctrl+o");
  ASSERT_TRUE(display->find_window("Open"));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display->run("xdotool type --delay 30 '" + runs.front().string() + "'");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display->run("xdotool key Return");
  shot = shot_when([](const Screenshot& s) { return !s.find(kRed).empty(); });
  EXPECT_FALSE(shot.find(kRed).empty()) << "the first run, opened from the history";

  // A damaged prepared report: a message, and the pages stay.
  const std::string bytes = read_file(runs.front());
  std::ofstream(work / "damaged.zrw", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  ASSERT_TRUE(wait_until([&] { return display->window_gone("Open"); }));
  display->run("xdotool key ctrl+o");
  ASSERT_TRUE(display->find_window("Open"));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display->run("xdotool type --delay 30 '" + (work / "damaged.zrw").string() + "'");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display->run("xdotool key Return");
  const auto notice = display->find_window(kNotice);
  ASSERT_TRUE(notice) << "no message about the damaged file";
  display->run("xdotool windowfocus --sync " + *notice);
  display->run("xdotool key Return");
  EXPECT_TRUE(wait_until([&] { return display->window_gone(kNotice); }));
  display->run("xdotool windowfocus --sync " + *window);
  shot = shot_when([](const Screenshot& s) { return !s.find(kRed).empty(); });
  EXPECT_FALSE(shot.find(kRed).empty()) << "the pages stay";

  // Esc closes the window and the viewer ends with status 0.
  display->run("xdotool key Escape");
  const auto status = display->wait_exit(viewer);
  ASSERT_TRUE(status) << "the viewer did not end";
  EXPECT_EQ(*status, 0) << read_file(work / "viewer.log");
}

// Ctrl+S saves the prepared report through the save dialog (printing: preview_print_test).
TEST_F(PreviewWindowTest, SaveDialog) {
  const pid_t viewer = start_viewer();
  const auto window = display->find_window("Zorel Preview");
  ASSERT_TRUE(window) << read_file(work / "viewer.log");
  display->run("xdotool windowfocus --sync " + *window);
  shot_when([](const Screenshot& s) { return !s.find(kRed).empty(); });

  const fs::path saved = work / "saved.zrw";
  display->run("xdotool key ctrl+s");
  ASSERT_TRUE(display->find_window("Save"));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display->run("xdotool key ctrl+a");
  display->run("xdotool type --delay 30 '" + saved.string() + "'");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display->run("xdotool key Return");
  EXPECT_TRUE(wait_until([&] { return fs::exists(saved) && fs::file_size(saved) > 100; }));
  ASSERT_TRUE(wait_until([&] { return display->window_gone("Save"); }));

  display->run("xdotool windowfocus --sync " + *window);
  display->run("xdotool key Escape");
  const auto status = display->wait_exit(viewer);
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0);
}

// A GTK program hosting the control as a widget shows the report inside it (InHtml "1"),
// with the toolbar and page label of the embedded preview.
TEST_F(PreviewWindowTest, WidgetShowsTheReportInsideTheHostWindow) {
  const pid_t host =
      display->spawn({ZR_GTK_HOST_PATH, server.url("/list.zrf"), server.url("/list.html")},
                     {{"ZOREL_HOME", (work / "home").string()}}, work / "host.log");
  const auto window = display->find_window("Zorel host");
  ASSERT_TRUE(window) << read_file(work / "host.log");
  const Screenshot shot = shot_when([](const Screenshot& s) { return !s.find(kRed).empty(); });
  const Box banner = shot.find(kRed);
  ASSERT_FALSE(banner.empty()) << read_file(work / "host.log");
  EXPECT_NEAR(banner.width(), 240, 2);
  display->run("xdotool windowclose " + *window);
  display->run("xdotool windowkill " + *window);
  EXPECT_TRUE(display->wait_exit(host));
}

TEST_F(PreviewWindowTest, HeadlessKeepsTheWindowClosed) {
  const pid_t viewer = start_viewer({"--headless"});
  const auto status = display->wait_exit(viewer);
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0) << read_file(work / "viewer.log");
  EXPECT_TRUE(display->window_gone("Zorel Preview"));
}

}  // namespace
