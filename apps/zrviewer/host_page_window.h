#pragma once
// The host page's window for the command-line host: a page address given on the command line
// stands for the page the control sits on, and the addresses the control sends the window to
// are opened with the desktop's opener (xdg-open).

#include <string>
#include <vector>

#include "viewer/host_window.h"

namespace zr::host {

class HostPageWindow : public HostWindow {
 public:
  // `url` is ANSI, as the control reads it. `opener` is the program and its leading
  // arguments; the address is appended as the last argument (UTF-8).
  explicit HostPageWindow(std::string url, std::vector<std::string> opener = {"xdg-open"})
      : url_(std::move(url)), opener_(std::move(opener)) {}

  std::string document_url() const override { return url_; }
  // Both run the opener and wait for it; a desktop has no "same window" to reuse. Raise
  // SystemError(E_FAIL) when it cannot be started or exits with a failure.
  void navigate(const std::string& url) override { open_address(url); }
  void open(const std::string& url) override { open_address(url); }

 private:
  void open_address(const std::string& url) const;

  std::string url_;
  std::vector<std::string> opener_;
};

}  // namespace zr::host
