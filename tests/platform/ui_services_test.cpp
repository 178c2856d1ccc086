#include "platform/ui_services.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zr {
namespace {

TEST(UiServicesTest, DefaultAnswerIsTheDefaultButton) {
  struct Case {
    int flags;
    int answer;
  };
  const Case cases[] = {
      {MB_OK | MB_ICONINFORMATION, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_ABORTRETRYIGNORE, IDABORT},
      {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},  // no third button: the first one
      {0xE, IDOK},                          // unknown button type
  };
  for (const Case& c : cases)
    EXPECT_EQ(default_message_box_answer(c.flags), c.answer) << "flags " << c.flags;
}

TEST(UiServicesTest, HeadlessUiWritesRecordsAndAnswers) {
  std::ostringstream out;
  HeadlessUi ui(&out);
  // "안내" / "한글" in code page 949 are written as UTF-8.
  EXPECT_EQ(ui.show_message("\xC7\xD1\xB1\xDB", "\xBE\xC8\xB3\xBB", MB_YESNO), IDYES);
  EXPECT_EQ(out.str(), "\xEC\x95\x88\xEB\x82\xB4: \xED\x95\x9C\xEA\xB8\x80\n");

  ui.script_message_answer(IDNO);
  ui.script_message_answer(IDCANCEL);
  EXPECT_EQ(ui.show_message("a", "c", MB_YESNO), IDNO);
  EXPECT_EQ(ui.show_message("b", "c", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(ui.show_message("c", "c", MB_YESNO), IDYES);  // script used up

  EXPECT_EQ(ui.input_box("cap", "prompt", "dflt"), "dflt");
  ui.script_input_answer(std::nullopt);
  ui.script_input_answer("typed");
  EXPECT_EQ(ui.input_box("cap", "prompt", "dflt"), std::nullopt);
  EXPECT_EQ(ui.input_box("cap", "prompt", "dflt"), "typed");

  ui.show_progress_window("cap", "label");
  EXPECT_TRUE(ui.progress_window_shown());
  ui.update_progress_window(100, 41);
  ui.update_progress_window(100, 42);  // a row of moves keeps the latest
  ui.hide_progress_window();
  EXPECT_FALSE(ui.progress_window_shown());

  const std::vector<UiCall>& calls = ui.calls();
  ASSERT_EQ(calls.size(), 10u);
  EXPECT_EQ(calls[0], (UiCall{.kind = UiCall::Kind::Message,
                              .caption = "\xBE\xC8\xB3\xBB",
                              .text = "\xC7\xD1\xB1\xDB",
                              .flags = MB_YESNO}));
  EXPECT_EQ(calls[4], (UiCall{.kind = UiCall::Kind::Input,
                              .caption = "cap",
                              .text = "prompt",
                              .default_text = "dflt"}));
  EXPECT_EQ(calls[7],
            (UiCall{.kind = UiCall::Kind::ShowProgress, .caption = "cap", .text = "label"}));
  EXPECT_EQ(calls[8],
            (UiCall{.kind = UiCall::Kind::UpdateProgress, .maximum = 100, .position = 42}));
  EXPECT_EQ(calls[9].kind, UiCall::Kind::HideProgress);
  EXPECT_NE(out.str().find("cap: prompt\n"), std::string::npos);
}

// A message whose parts the engine separates with CR reads as one line with separators; the
// recorded call keeps the text as it was.
TEST(UiServicesTest, HeadlessUiWritesALineWithSeparators) {
  std::ostringstream out;
  HeadlessUi ui(&out);
  const std::string text = "An error occured during calculating\r[Title]\r\rReport: Report";
  ui.show_message(text, "Error", MB_OK | MB_ICONERROR);
  EXPECT_EQ(out.str(), "Error: An error occured during calculating | [Title] | Report: Report\n");
  EXPECT_EQ(ui.calls().back().text, text);
}

TEST(UiServicesTest, HeadlessUiWithoutStreamStaysSilent) {
  HeadlessUi ui(nullptr);
  EXPECT_EQ(ui.show_message("text", "caption", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_EQ(ui.calls().size(), 1u);
}

}  // namespace
}  // namespace zr
