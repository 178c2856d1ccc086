#pragma once
// The host page's window as the control sees it. A host hands the control any object through
// the `Window` property; only a HostWindow is a window (the control queries for it and fails
// with E_NOINTERFACE otherwise). Hosts own these objects; the control keeps a shared
// reference while one is set.
//
// All texts are 8-bit ANSI bytes; a host converts at its own edge. Failures are raised (a
// host turns its own failure codes into SystemError).

#include <string>

namespace zr {

// Any object a host can pass to the control.
class HostObject {
 public:
  virtual ~HostObject() = default;
};

class HostWindow : public HostObject {
 public:
  // The address of the page the window shows (its document's URL).
  virtual std::string document_url() const = 0;
  // Sends this window to `url`: the host page itself goes there.
  virtual void navigate(const std::string& url) = 0;
  // Opens `url` in a new browser window (no name, no features, not replacing history).
  virtual void open(const std::string& url) = 0;
};

}  // namespace zr
