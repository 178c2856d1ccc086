#include "terminal_ui.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/codepage.h"

namespace zr::host {
namespace {

// "상태" and "데이타를 읽는중 입니다." in code page 949, as the control shows them.
const std::string kCaption = utf8_to_ansi("상태");
const std::string kLabel = utf8_to_ansi("데이타를 읽는중 입니다.");

TEST(TerminalUiTest, ProgressIsOneLineUpdatedInPlace) {
  std::ostringstream out;
  TerminalUi ui(&out, 80);
  ui.show_progress_window(kCaption, kLabel);
  ui.update_progress_window(100, 2048);
  ui.update_progress_window(100, 2100);  // the same text: not drawn again
  ui.hide_progress_window();
  ui.show_progress_window("Preparing report", "Processing page:  2 from 5");
  ui.show_message(utf8_to_ansi("한글"), utf8_to_ansi("안내"), MB_OK);  // clears the line first
  ui.hide_progress_window();                                           // nothing left to clear
  EXPECT_EQ(out.str(),
            "\r상태 - 데이타를 읽는중 입니다.\x1b[K"
            "\r상태 - 데이타를 읽는중 입니다. 2 KB\x1b[K"
            "\r\x1b[K"
            "\rPreparing report - Processing page: 2 from 5\x1b[K"
            "\r\x1b[K"
            "안내: 한글\n");
}

TEST(TerminalUiTest, TheLineFitsTheTerminal) {
  std::ostringstream out;
  TerminalUi ui(&out, 12);
  ui.show_progress_window(kCaption, kLabel);  // Hangul takes two columns each
  EXPECT_EQ(out.str(), "\r상태 - 데이\x1b[K");
}

TEST(TerminalUiTest, NoTerminalNoProgress) {
  std::ostringstream out;
  TerminalUi ui(&out, 0);
  ui.show_progress_window(kCaption, kLabel);
  ui.update_progress_window(100, 5000);
  ui.hide_progress_window();
  ui.print_line("zrviewer: warning: x");
  EXPECT_EQ(out.str(), "zrviewer: warning: x\n");
  EXPECT_EQ(ui.calls().size(), 3u);  // still recorded as a headless window
}

TEST(TerminalUiTest, ByteAmounts) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0 bytes"}, {1023, "1023 bytes"}, {1024, "1 KB"}, {5 << 20, "5.0 MB"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(byte_amount(bytes), text);
}

}  // namespace
}  // namespace zr::host
