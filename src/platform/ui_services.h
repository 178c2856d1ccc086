#pragma once
// Everything that would show a window: message boxes, input boxes and the progress window.
// Report logic asks this interface instead of a toolkit, so the control and the engine run
// without a display. Texts passed in and returned are 8-bit ANSI bytes (code page 949 by
// default); each implementation converts at its own edge.
//
// Calls are made on the user-interface thread only; implementations need not be thread-safe.
// Message and input boxes are modal: they return when the user has answered.

#include <atomic>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// Message box buttons, icons and default button (the classic values, combined with |).
inline constexpr int MB_OK = 0x0;
inline constexpr int MB_OKCANCEL = 0x1;
inline constexpr int MB_ABORTRETRYIGNORE = 0x2;
inline constexpr int MB_YESNOCANCEL = 0x3;
inline constexpr int MB_YESNO = 0x4;
inline constexpr int MB_RETRYCANCEL = 0x5;
inline constexpr int MB_ICONERROR = 0x10;
inline constexpr int MB_ICONQUESTION = 0x20;
inline constexpr int MB_ICONWARNING = 0x30;
inline constexpr int MB_ICONINFORMATION = 0x40;
inline constexpr int MB_DEFBUTTON1 = 0x000;
inline constexpr int MB_DEFBUTTON2 = 0x100;
inline constexpr int MB_DEFBUTTON3 = 0x200;
inline constexpr int MB_TYPEMASK = 0xF;
inline constexpr int MB_ICONMASK = 0xF0;
inline constexpr int MB_DEFMASK = 0xF00;

// Message box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The answers a message box of `flags` offers, in button order (the button type in the low
// four bits; unknown types offer OK only).
std::vector<int> message_box_buttons(int flags);
// The answer of the default button (MB_DEFBUTTONn; the first button when n is out of range).
int default_message_box_answer(int flags);

class UiServices {
 public:
  virtual ~UiServices() = default;

  // Shows `text` with `caption` and the buttons and icon of `flags`; returns the answer
  // (IDOK, IDCANCEL, IDYES ...).
  virtual int show_message(const std::string& text, const std::string& caption, int flags) = 0;

  // Asks for one line of text; nullopt when the user cancels.
  virtual std::optional<std::string> input_box(const std::string& caption,
                                               const std::string& prompt,
                                               const std::string& default_text) = 0;

  // The modeless progress window. At most one exists; showing while one is shown replaces
  // its texts. update_progress_window sets the bar and lets pending window events run, so
  // the host stays responsive during long waits; it does nothing when no window is shown.
  virtual void show_progress_window(const std::string& caption, const std::string& label) = 0;
  virtual void update_progress_window(int64_t maximum, int64_t position) = 0;
  virtual void hide_progress_window() = 0;
  // True once the user has cancelled the progress window (its cancel button). The job that
  // runs under the window asks between its steps and stops; asking does not clear it.
  virtual bool progress_cancelled() const = 0;
};

// One call received by HeadlessUi, as tests read it back.
struct UiCall {
  enum class Kind { Message, Input, ShowProgress, UpdateProgress, HideProgress };
  Kind kind = Kind::Message;
  std::string caption{};  // ANSI; ShowProgress: the window caption
  std::string text{};     // ANSI; Message: the text, Input: the prompt, ShowProgress: the label
  int flags = 0;          // Message only
  std::string default_text{};  // Input only
  int64_t maximum = 0;         // UpdateProgress only
  int64_t position = 0;        // UpdateProgress only
  friend bool operator==(const UiCall&, const UiCall&) = default;
};

// UiServices without a display. Messages and input prompts are written as "caption: text"
// (UTF-8, one line each, the text's own lines joined by single_line) to a stream (stderr unless
// set; none when null). A message box answers with its default button and an input box with its
// default text, unless answers were scripted; scripted answers are used first, oldest first, per
// kind.
class HeadlessUi : public UiServices {
 public:
  HeadlessUi();
  // `out` is not owned and must outlive this object; null writes nothing.
  explicit HeadlessUi(std::ostream* out) : out_(out) {}

  int show_message(const std::string& text, const std::string& caption, int flags) override;
  std::optional<std::string> input_box(const std::string& caption, const std::string& prompt,
                                       const std::string& default_text) override;
  void show_progress_window(const std::string& caption, const std::string& label) override;
  void update_progress_window(int64_t maximum, int64_t position) override;
  void hide_progress_window() override;
  bool progress_cancelled() const override { return progress_cancelled_; }

  // Cancels the progress window as the user's click would. There is nobody to show later
  // windows to, so they count as cancelled too. Safe to call from another thread (a host's
  // time limit).
  void cancel_progress() { progress_cancelled_ = true; }

  void script_message_answer(int answer) { message_answers_.push_back(answer); }
  // nullopt scripts a cancelled input box.
  void script_input_answer(std::optional<std::string> answer) {
    input_answers_.push_back(std::move(answer));
  }

  // What was asked, in order; a row of progress moves is kept as its last.
  const std::vector<UiCall>& calls() const { return calls_; }
  void clear_calls() { calls_.clear(); }
  bool progress_window_shown() const { return progress_shown_; }

 private:
  void write_line(std::string_view caption, std::string_view text);

  std::ostream* out_;
  std::vector<UiCall> calls_;
  std::deque<int> message_answers_;
  std::deque<std::optional<std::string>> input_answers_;
  bool progress_shown_ = false;
  std::atomic<bool> progress_cancelled_ = false;
};

}  // namespace zr
