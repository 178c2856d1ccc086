#pragma once
// A ready control (MakeViewer) against a loopback HTTP server that serves a master/detail
// form (built with `zrtool form build` from tests/data/viewer/orders_form.json) and its data
// page. The work folder is a fresh temporary folder, the printers are the virtual printer
// alone, mail goes to a recording hand-off and the clock stands at 2026-12-10 12:00:00, so
// every load's TimeStamp is "120000".

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "platform/date_time.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"
#include "support/http_server.h"
#include "support/tool_run.h"
#include "viewer/mapi_control.h"
#include "viewer/viewer_host.h"

namespace zr::testing_support {

namespace fs = std::filesystem;

inline std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void write_bytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline fs::path viewer_data(const std::string& name) {
  return fs::path(ZR_TEST_DATA_DIR) / "viewer" / name;
}

// The form file built from its JSON source, once per test program.
inline const std::string& orders_form_bytes() {
  static const std::string bytes = [] {
    const fs::path out =
        fs::temp_directory_path() / ("zr_orders_form_" + std::to_string(getpid()) + ".zrf");
    ToolResult run =
        run_tool("form build " + viewer_data("orders_form.json").string() + " -o " + out.string());
    EXPECT_EQ(run.status, 0) << run.output;
    std::string form = read_bytes(out);
    fs::remove(out);
    return form;
  }();
  return bytes;
}

class RecordingMail : public MailHandOff {
 public:
  int Send(const MailMessage& message, std::string& detail) override {
    sent.push_back(message);
    detail = answer_detail;
    return answer;
  }
  std::vector<MailMessage> sent;
  int answer = kMailSuccess;
  std::string answer_detail;
};

class PipelineTest : public ::testing::Test {
 protected:
  PipelineTest() {
    static int serial = 0;
    work_root = fs::temp_directory_path() /
                ("zr_pipeline_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
    ViewerOptions options;
    options.work_folder = WorkFolder(work_root);
    options.printers = std::make_unique<MemoryPrinterSystem>();
    auto recording = std::make_unique<RecordingMail>();
    mail = recording.get();
    options.mail = std::move(recording);
    options.clock = &clock;
    session = MakeViewer(ui, std::move(options));
    session->viewer().set_diagnostics([this](DiagnosticKind kind, const std::string& text) {
      diagnostics.push_back((kind == DiagnosticKind::Warning ? "warning: " : "") + text);
    });

    server.add("/r/orders.zrf", orders_form_bytes(), "application/octet-stream");
    server.add("/r/orders_page.html", read_bytes(viewer_data("orders_page.html")));
  }
  ~PipelineTest() override {
    session.reset();
    std::error_code ec;
    fs::remove_all(work_root, ec);
  }

  TzrViewer& viewer() { return session->viewer(); }
  ViewerRunner& runner() { return session->runner(); }
  TvtReport& report() { return session->runner().report(); }

  // Points the control at the served form and data page.
  void UseOrders() {
    viewer().ReportFile = server.url("/r/orders.zrf");
    viewer().dataFile = server.url("/r/orders_page.html");
  }

  // The text of every prepared object, page by page.
  std::vector<std::string> PageTexts() {
    std::vector<std::string> texts;
    TvtEMFPages& pages = report().EMFPages;
    for (int i = 0; i < pages.Count(); ++i) {
      pages.ObjectsToPage(i);
      for (auto& view : pages.PageInfo(i).Page->Objects) {
        std::string text;
        for (const std::string& line : view->Memo)
          for (char c : line)
            if (c != kParagraphMark) text += c;
        texts.push_back(text);
      }
    }
    return texts;
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const UiCall& call : ui.calls())
      if (call.kind == UiCall::Kind::Message) texts.push_back(call.text);
    return texts;
  }

  // The names of the files left in the work folder (History not included).
  std::vector<std::string> WorkFiles() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(work_root, ec))
      if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // What the control told its host beyond Log; warnings start with "warning: ".
  std::vector<std::string> diagnostics;
  HeadlessUi ui{nullptr};
  FixedClock clock{46366.5};
  HttpTestServer server;
  fs::path work_root;
  RecordingMail* mail = nullptr;
  std::unique_ptr<ViewerSession> session;
};

// The prepared texts of the orders report for Year `year`.
inline std::vector<std::string> orders_texts(const std::string& year) {
  // Lee has no orders: a master record without details prints nothing.
  return {"Year " + year, "1 Kim", "10 100", "11 50", "3 Park", "12 70"};
}

}  // namespace zr::testing_support
