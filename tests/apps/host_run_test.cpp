#include "host_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host_page_window.h"
#include "platform/codepage.h"
#include "viewer/com_result.h"
#include "viewer/viewer_test_support.h"

namespace zr::host {
namespace {

using Args = std::vector<std::string>;

// Does what a run might: records the call, and when told, leaves a Log, raises, or writes
// the export target.
class ScriptedRunner : public testing::RecordingRunner {
 public:
  explicit ScriptedRunner(std::vector<std::string>& calls) : RecordingRunner(calls) {}
  void PreviewReport(TzrViewer& viewer) override {
    RecordingRunner::PreviewReport(viewer);
    for (const auto& [kind, text] : diagnose) viewer.Diagnose(kind, utf8_to_ansi(text));
    finish(viewer);
  }
  void SaveImage(TzrViewer& viewer, int8_t type, const std::string& name) override {
    RecordingRunner::SaveImage(viewer, type, name);
    if (!write_to.empty()) {
      std::ofstream(write_to) << "%PDF-";
      viewer.OutputFileName = utf8_to_ansi(write_to.string());
    }
    finish(viewer);
  }
  std::string log;                                               // UTF-8
  std::vector<std::pair<DiagnosticKind, std::string>> diagnose;  // UTF-8
  int32_t raise = 0;
  std::filesystem::path write_to;

 private:
  void finish(TzrViewer& viewer) {
    viewer.Log = utf8_to_ansi(log);
    if (raise) throw SystemError(raise, utf8_to_ansi("보고서를 읽을 수 없습니다"));
  }
};

class HostRunTest : public ::testing::Test {
 protected:
  HostRunTest() {
    auto runner = std::make_unique<ScriptedRunner>(calls);
    this->runner = runner.get();
    viewer.attach_runner(std::move(runner));
  }

  int run(const Args& args) {
    out.str("");
    err.str("");
    return run_command_line(parse_command_line(args), viewer, out, err);
  }

  HeadlessUi ui{nullptr};
  TzrViewer viewer{ui, WorkFolder("/nonexistent/zorel")};
  std::vector<std::string> calls;
  ScriptedRunner* runner;
  std::ostringstream out, err;
};

TEST_F(HostRunTest, SettingsReachTheControlThroughItsDispatchTable) {
  ASSERT_EQ(run({"--reportfile",
                 "http://s/r.zrf",
                 "--DATAFILE=http://s/d.html",
                 "--timeout",
                 "25",
                 "--PUBL",
                 "1",
                 "--acl",
                 "$0",
                 "--Params",
                 "제목=매출|B=2",
                 "--InHtml",
                 "1",
                 "--ColorHeader",
                 "$FF0000",
                 "--History",
                 "1",
                 "--IconFile",
                 "x.ico",
                 "--Caption",
                 "주문",
                 "--Visible",
                 "0",
                 "--Params=A=1",
                 "preview"}),
            kExitOk)
      << err.str();
  EXPECT_EQ(viewer.ReportFile, "http://s/r.zrf");
  EXPECT_EQ(viewer.dataFile, "http://s/d.html");
  EXPECT_EQ(viewer.TimeOut, 25);
  EXPECT_EQ(viewer.publ, 1);
  EXPECT_EQ(viewer.Acl, 0);
  EXPECT_EQ(viewer.Params, "A=1");  // the later setting wins
  EXPECT_TRUE(viewer.ShowsInControl());
  EXPECT_EQ(viewer.preview_colors().HeaderColor, 0xFF0000);
  EXPECT_EQ(viewer.History, 1);
  EXPECT_EQ(viewer.form_properties().Caption, utf8_to_ansi("주문"));
  EXPECT_FALSE(viewer.form_properties().Visible);
  EXPECT_EQ(calls, std::vector<std::string>{"PreviewReport"});
  EXPECT_EQ(out.str(), "");
}

TEST_F(HostRunTest, CommandsCallTheirMethods) {
  // As the host, zrviewer takes a relative NAME in the current folder.
  const std::string cwd = std::filesystem::current_path().string();
  const std::pair<Args, std::string> cases[] = {
      {{"preview"}, "PreviewReport"},
      {{"print"}, "PrintReport"},
      {{"save", "0"}, "SaveImage(0,)"},  // no name: the control's default name
      {{"save", "9", "목록.csv"}, "SaveImage(9," + utf8_to_ansi(cwd + "/목록.csv") + ")"},
      {{"save", "8", "out/../r.txt"}, "SaveImage(8," + cwd + "/r.txt)"},
      {{"SaveImage", "3", "/tmp/x"}, "SaveImage(3,/tmp/x)"},
      {{"mail", "2", "r.htm"}, "SendEMail(2," + cwd + "/r.htm)"},
      {{"get-file"}, "GetFile"},
      {{"clear-history"}, "ClearHistory"},
  };
  for (const auto& [args, call] : cases) {
    calls.clear();
    EXPECT_EQ(run(args), kExitOk) << err.str();
    EXPECT_EQ(calls, std::vector<std::string>{call});
  }
}

// A member the control refuses stops the run before the method: exit 2, the control's code and
// message on stderr.
TEST_F(HostRunTest, RefusedMembersExitWithTheControlsFailure) {
  const std::pair<Args, std::string> cases[] = {
      {{"--Bogus", "1", "preview"},
       "--Bogus failed: IzrViewer has no member 'Bogus' (DISP_E_MEMBERNOTFOUND 0x80020003)"},
      {{"--TimeOut", "soon", "preview"}, "(DISP_E_TYPEMISMATCH 0x80020005)"},
      {{"--TimeOut", "99999999999", "preview"}, "(DISP_E_OVERFLOW 0x8002000A)"},
      {{"--AxBorderStyle", "4", "preview"}, "(E_INVALIDARG 0x80070057)"},
      {{"--Active", "1", "preview"}, "--Active failed: Property Active is read-only"},
      {{"--PreviewReport", "1", "preview"}, "PreviewReport is a method, not a property"},
      {{"--ColorHeader", "red", "preview"}, "--ColorHeader failed:"},
      {{"save", "128"}, "SaveImage failed: Out of range: argument 1 of SaveImage"},
      {{"save", "pdf"}, "SaveImage failed: Type mismatch"},
      // A TYPE the control would quietly export nothing for stops the line.
      {{"save", "99", "x.pdf"},
       "zrviewer: SaveImage failed: TYPE 99 has no export format; TYPE is 0 PDF, 1 RTF, 2 HTML, "
       "3 JPEG, 4 GIF, 5 BMP, 6 EMF, 7 WMF, 8 Text, 9 CSV, 10 Excel\n"},
      {{"mail", "-1"}, "zrviewer: SendEMail failed: TYPE -1 has no export format"},
      {{"--Bogus", "1", "save", "11"}, "SaveImage failed: TYPE 11"},  // before any setting
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    calls.clear();
    EXPECT_EQ(run(args), kExitMemberFailed);
    EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
    EXPECT_TRUE(calls.empty());
  }
}

TEST_F(HostRunTest, ExitStatusFollowsLogAndTheMethodsResult) {
  runner->log = "권한이 없습니다.";
  EXPECT_EQ(run({"preview"}), kExitLogged);
  EXPECT_EQ(out.str(), "Log: 권한이 없습니다.\n");  // printed as UTF-8

  runner->raise = E_NOINTERFACE;  // a failure code the control keeps
  EXPECT_EQ(run({"preview"}), kExitMemberFailed);
  EXPECT_EQ(out.str(), "Log: 권한이 없습니다.\n");
  EXPECT_EQ(
      err.str(),
      "zrviewer: PreviewReport failed: 보고서를 읽을 수 없습니다 (E_NOINTERFACE 0x80004002)\n");

  runner->raise = 0;
  runner->log.clear();
  EXPECT_EQ(run({"preview"}), kExitOk);
  EXPECT_EQ(out.str() + err.str(), "");

  viewer.attach_runner(nullptr);
  EXPECT_EQ(run({"print"}), kExitMemberFailed);
  EXPECT_EQ(err.str(),
            "zrviewer: PrintReport failed: PrintReport is not available: no report runner is "
            "attached (E_UNEXPECTED 0x8000FFFF)\n");
}

// Log prints on one line; the control's diagnostics go to stderr while the line runs.
TEST_F(HostRunTest, LogIsOneLineAndDiagnosticsGoToStderr) {
  runner->log = "An error occured during calculating\r[Title]\r\rReport: Report";
  runner->diagnose = {{DiagnosticKind::Detail, "the data page http://s/d.html: HTTP status 404"},
                      {DiagnosticKind::Warning, "section \"주문\" is used by no band"}};
  EXPECT_EQ(run({"preview"}), kExitLogged);
  EXPECT_EQ(out.str(), "Log: An error occured during calculating | [Title] | Report: Report\n");
  EXPECT_EQ(err.str(),
            "zrviewer: the data page http://s/d.html: HTTP status 404\n"
            "zrviewer: warning: section \"주문\" is used by no band\n");
  viewer.Diagnose(DiagnosticKind::Warning, "after the line");  // nobody listens any more
  EXPECT_EQ(err.str().find("after the line"), std::string::npos);
}

// A plain path in ReportFile or dataFile is a local file: the control gets its file:// address.
TEST_F(HostRunTest, PlainPathsBecomeFileAddresses) {
  const std::string cwd = std::filesystem::current_path().string();
  const std::pair<Args, std::pair<std::string, std::string>> cases[] = {
      {{"--ReportFile", "r.zrf", "--dataFile=d/../p.html"},
       {"file://" + cwd + "/r.zrf", "file://" + cwd + "/p.html"}},
      {{"--reportfile", "/srv/보고서 1.zrf", "--DATAFILE", "/srv/a&b.html"},
       {"file:///srv/%EB%B3%B4%EA%B3%A0%EC%84%9C%201.zrf", "file:///srv/a%26b.html"}},
      {{"--ReportFile", "http://s/r.zrf", "--dataFile", "file:///tmp/p.html"},
       {"http://s/r.zrf", "file:///tmp/p.html"}},
      {{"--ReportFile", "", "--dataFile", ""}, {"", ""}},
  };
  for (const auto& [settings, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(settings));
    Args args = settings;
    args.push_back("preview");
    ASSERT_EQ(run(args), kExitOk) << err.str();
    EXPECT_EQ(viewer.ReportFile, expected.first);
    EXPECT_EQ(viewer.dataFile, expected.second);
  }
}

TEST_F(HostRunTest, SaveSaysWhereTheFileIs) {
  const auto dir =
      std::filesystem::path(::testing::TempDir()) / ("host_run_save_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  runner->write_to = dir / "주문.pdf";
  EXPECT_EQ(run({"save", "0", runner->write_to.string()}), kExitOk);
  EXPECT_EQ(out.str(), "Saved " + runner->write_to.string() + "\n");

  // A run that records a failure says so instead.
  runner->log = "Time out";
  EXPECT_EQ(run({"save", "0", runner->write_to.string()}), kExitLogged);
  EXPECT_EQ(out.str(), "Log: Time out\n");
  std::filesystem::remove_all(dir);
}

TEST_F(HostRunTest, HostPageBecomesTheControlsWindow) {
  ASSERT_EQ(run({"--host-page", "http://host:8080/app/보고서.html", "preview"}), kExitOk);
  auto window = std::dynamic_pointer_cast<HostPageWindow>(viewer.Window);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->document_url(), utf8_to_ansi("http://host:8080/app/보고서.html"));
  EXPECT_EQ(viewer.SiteRoot, "http://host:8080/");

  ASSERT_EQ(run({"--Window=", "preview"}), kExitOk);  // an empty address clears it
  EXPECT_EQ(viewer.Window, nullptr);
  EXPECT_EQ(viewer.SiteRoot, "");
}

}  // namespace
}  // namespace zr::host
