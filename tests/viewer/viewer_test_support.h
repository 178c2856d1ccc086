#pragma once
// Small host-side objects for the control's tests: a host page window, a runner and an
// event sink that record what the control asks of them.

#include <string>
#include <utility>
#include <vector>

#include "viewer/host_window.h"
#include "viewer/report_runner.h"
#include "viewer/viewer_events.h"
#include "viewer/zr_viewer.h"

namespace zr::testing {

class PageWindow : public HostWindow {
 public:
  explicit PageWindow(std::string url) : url_(std::move(url)) {}
  std::string document_url() const override { return url_; }
  void navigate(const std::string& url) override { navigated.push_back(url); }
  void open(const std::string& url) override { opened.push_back(url); }
  std::vector<std::string> navigated;
  std::vector<std::string> opened;

 private:
  std::string url_;
};

// An object a host may pass that is not a window.
class PlainObject : public HostObject {};

// Records each call as "Member" or "Member(type,name)".
class RecordingRunner : public ReportRunner {
 public:
  explicit RecordingRunner(std::vector<std::string>& log) : log_(log) {}
  void PreviewReport(TzrViewer&) override { log_.push_back("PreviewReport"); }
  void PrintReport(TzrViewer&) override { log_.push_back("PrintReport"); }
  void SaveImage(TzrViewer&, int8_t type, const std::string& name) override {
    log_.push_back("SaveImage(" + std::to_string(type) + "," + name + ")");
  }
  void SendEMail(TzrViewer&, int8_t type, const std::string& name) override {
    log_.push_back("SendEMail(" + std::to_string(type) + "," + name + ")");
  }
  void GetFile(TzrViewer&) override { log_.push_back("GetFile"); }
  void ClearHistory(TzrViewer&) override { log_.push_back("ClearHistory"); }

 private:
  std::vector<std::string>& log_;
};

class RecordingSink : public ViewerEventSink {
 public:
  void Invoke(ViewerEvent event, int16_t* key) override {
    dispids.push_back(dispid_of(event));
    if (key) {
      keys.push_back(*key);
      if (replace_key) *key = *replace_key;
    }
  }
  std::vector<int32_t> dispids;
  std::vector<int16_t> keys;
  std::optional<int16_t> replace_key;
};

}  // namespace zr::testing
