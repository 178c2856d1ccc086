#pragma once
// The command-line host's user interface: message boxes on stderr as HeadlessUi writes them,
// and, when stderr is a terminal, the progress window as one line updated in place
// ("상태 - 데이타를 읽는중 입니다. 12 KB", "Preparing report - Processing page: 2 from 5"),
// cleared when the window hides and before any message.

#include <cstdint>
#include <iosfwd>
#include <string>

#include "platform/ui_services.h"

namespace zr::host {

class TerminalUi : public HeadlessUi {
 public:
  // `out` is not owned and must outlive this object. `progress_columns` is the width of the
  // terminal the progress line is drawn on (0: no progress line, as for a pipe or a file).
  TerminalUi(std::ostream* out, int progress_columns);

  int show_message(const std::string& text, const std::string& caption, int flags) override;
  std::optional<std::string> input_box(const std::string& caption, const std::string& prompt,
                                       const std::string& default_text) override;
  void show_progress_window(const std::string& caption, const std::string& label) override;
  void update_progress_window(int64_t maximum, int64_t position) override;
  void hide_progress_window() override;

  // Writes a line of the host's own (UTF-8, without its line break) where messages go, after
  // clearing the progress line.
  void print_line(const std::string& utf8);

 private:
  void draw();
  void clear_line();

  std::ostream* out_;
  int columns_;
  std::string caption_, label_;  // ANSI, as the window got them
  int64_t position_ = -1;        // bytes of a download; -1: none yet
  std::string drawn_;            // the line on the terminal now (UTF-8); empty: none
};

// The width of the terminal on standard error, or 0 when standard error is no terminal.
int stderr_terminal_columns();

// "12 KB" and the like for a byte count.
std::string byte_amount(int64_t bytes);

}  // namespace zr::host
