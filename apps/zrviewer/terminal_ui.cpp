#include "terminal_ui.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "platform/codepage.h"
#include "platform/text_lines.h"

namespace zr::host {
namespace {

// Erases the rest of the terminal line.
constexpr const char* kEraseToEnd = "\x1b[K";

// Collapses runs of blanks ("Processing page:  2" has two).
std::string collapsed(const std::string& text) {
  std::string out;
  for (char c : single_line(text))
    if (c != ' ' || out.empty() || out.back() != ' ') out += c;
  return out;
}

// The longest start of `utf8` that fits in `columns` terminal columns (wide characters such
// as Hangul take two).
std::string fitted(const std::string& utf8, int columns) {
  int used = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const int width = lead >= 0xE1 ? 2 : 1;  // U+1100 and above: CJK and Hangul
    if (used + width > columns) break;
    used += width;
    i += std::min(length, utf8.size() - i);
  }
  return utf8.substr(0, i);
}

}  // namespace

std::string byte_amount(int64_t bytes) {
  char text[32];
  if (bytes < 1024)
    std::snprintf(text, sizeof text, "%lld bytes", static_cast<long long>(bytes));
  else if (bytes < 1024 * 1024)
    std::snprintf(text, sizeof text, "%lld KB", static_cast<long long>(bytes / 1024));
  else
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

int stderr_terminal_columns() {
  if (!isatty(STDERR_FILENO)) return 0;
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

TerminalUi::TerminalUi(std::ostream* out, int progress_columns)
    : HeadlessUi(out), out_(out), columns_(progress_columns) {}

int TerminalUi::show_message(const std::string& text, const std::string& caption, int flags) {
  clear_line();
  return HeadlessUi::show_message(text, caption, flags);
}

std::optional<std::string> TerminalUi::input_box(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& default_text) {
  clear_line();
  return HeadlessUi::input_box(caption, prompt, default_text);
}

void TerminalUi::show_progress_window(const std::string& caption, const std::string& label) {
  HeadlessUi::show_progress_window(caption, label);
  caption_ = caption;
  label_ = label;
  position_ = -1;
  draw();
}

void TerminalUi::update_progress_window(int64_t maximum, int64_t position) {
  HeadlessUi::update_progress_window(maximum, position);
  if (!progress_window_shown()) return;
  position_ = position;
  draw();
}

void TerminalUi::hide_progress_window() {
  HeadlessUi::hide_progress_window();
  clear_line();
}

void TerminalUi::print_line(const std::string& utf8) {
  clear_line();
  if (!out_) return;
  *out_ << utf8 << '\n';
  out_->flush();
}

void TerminalUi::draw() {
  if (!out_ || columns_ <= 0) return;
  std::string line = ansi_to_utf8(collapsed(caption_) + " - " + collapsed(label_));
  if (position_ > 0) line += " " + byte_amount(position_);
  // One column stays free: a line that fills the terminal would wrap.
  line = fitted(line, columns_ - 1);
  if (line == drawn_) return;
  *out_ << '\r' << line << kEraseToEnd;
  out_->flush();
  drawn_ = line;
}

void TerminalUi::clear_line() {
  if (!out_ || drawn_.empty()) return;
  *out_ << '\r' << kEraseToEnd;
  out_->flush();
  drawn_.clear();
}

}  // namespace zr::host
