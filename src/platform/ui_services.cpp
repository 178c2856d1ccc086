#include "platform/ui_services.h"

#include <iostream>

#include "platform/codepage.h"
#include "platform/text_lines.h"

namespace zr {

std::vector<int> message_box_buttons(int flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    default:
      return {IDOK};
  }
}

int default_message_box_answer(int flags) {
  std::vector<int> buttons = message_box_buttons(flags);
  size_t index = static_cast<size_t>((flags & MB_DEFMASK) >> 8);
  return index < buttons.size() ? buttons[index] : buttons.front();
}

HeadlessUi::HeadlessUi() : out_(&std::cerr) {}

void HeadlessUi::write_line(std::string_view caption, std::string_view text) {
  if (!out_) return;
  // Engine messages separate their parts with CR; on one line they need separators.
  *out_ << ansi_to_utf8(caption) << ": " << ansi_to_utf8(single_line(text)) << '\n';
  out_->flush();
}

int HeadlessUi::show_message(const std::string& text, const std::string& caption, int flags) {
  calls_.push_back(
      {.kind = UiCall::Kind::Message, .caption = caption, .text = text, .flags = flags});
  write_line(caption, text);
  if (message_answers_.empty()) return default_message_box_answer(flags);
  int answer = message_answers_.front();
  message_answers_.pop_front();
  return answer;
}

std::optional<std::string> HeadlessUi::input_box(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& default_text) {
  calls_.push_back({.kind = UiCall::Kind::Input,
                    .caption = caption,
                    .text = prompt,
                    .default_text = default_text});
  write_line(caption, prompt);
  if (input_answers_.empty()) return default_text;
  std::optional<std::string> answer = std::move(input_answers_.front());
  input_answers_.pop_front();
  return answer;
}

void HeadlessUi::show_progress_window(const std::string& caption, const std::string& label) {
  calls_.push_back({.kind = UiCall::Kind::ShowProgress, .caption = caption, .text = label});
  progress_shown_ = true;
}

void HeadlessUi::update_progress_window(int64_t maximum, int64_t position) {
  // A run moves the bar once per record or page: only the latest of a row of moves is kept,
  // so the record stays small however long the run.
  const UiCall call{.kind = UiCall::Kind::UpdateProgress, .maximum = maximum, .position = position};
  if (!calls_.empty() && calls_.back().kind == UiCall::Kind::UpdateProgress)
    calls_.back() = call;
  else
    calls_.push_back(call);
}

void HeadlessUi::hide_progress_window() {
  calls_.push_back({.kind = UiCall::Kind::HideProgress});
  progress_shown_ = false;
}

}  // namespace zr
