// The load pipeline end to end: a ready control downloads a form and a data page from a
// loopback server, cuts and loads the sections, links master and detail and prepares pages;
// the expected failures end in Log and message boxes as the control reports them.
#include "viewer/viewer_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "engine/report/report.h"
#include "pipeline_fixture.h"
#include "platform/codepage.h"
#include "support/silent_server.h"
#include "viewer/history.h"
#include "viewer/notice.h"
#include "viewer/progress_window.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

using testing_support::orders_form_bytes;
using testing_support::orders_texts;
using testing_support::PipelineTest;
using testing_support::read_bytes;
using testing_support::viewer_data;

TEST_F(PipelineTest, PreviewPreparesTheFormOverTheDataPageSections) {
  UseOrders();
  viewer().Params = "Year=2026";
  viewer().PreviewReport();

  EXPECT_EQ(viewer().Log, "");
  EXPECT_EQ(PageTexts(), orders_texts("2026"));
  EXPECT_TRUE(runner().shown());
  EXPECT_EQ(viewer().Params, "");    // one-shot
  EXPECT_EQ(viewer().TimeOut, 600);  // raised by the first data page wait
  EXPECT_EQ(viewer().TimeStamp, "120000");
  EXPECT_TRUE(viewer().DocumentLoaded);
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});  // page and section files are gone
  EXPECT_TRUE(Messages().empty());

  // The report's driving dataset is the wrapper of the section listed last.
  ASSERT_NE(report().Dataset, nullptr);
  EXPECT_EQ(report().Dataset->Name, "datasetDATADETAIL");
  ClientDataset* detail = runner().components().FindDataset("DATADETAIL");
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->data_source(), runner().components().FindSource("DSDATAMASTER"));

  // The progress window came and went; the form download moved its bar.
  const std::vector<UiCall>& calls = ui.calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().kind, UiCall::Kind::ShowProgress);
  EXPECT_EQ(calls.front().caption, kProgressCaption);
  bool moved = false, hidden = false;
  for (const UiCall& call : calls) {
    moved = moved ||
            (call.kind == UiCall::Kind::UpdateProgress && call.maximum == 100 && call.position > 0);
    hidden = hidden || call.kind == UiCall::Kind::HideProgress;
  }
  EXPECT_TRUE(moved);
  EXPECT_TRUE(hidden);
  EXPECT_FALSE(ui.progress_window_shown());

  // Both requests came from the HTTP client component.
  for (const auto& request : server.requests())
    EXPECT_EQ(request.user_agent, "Mozilla/3.0 (compatible; Indy Library)") << request.path;
}

TEST_F(PipelineTest, FormAndDataPageMayBeLocalFiles) {
  fs::create_directories(work_root);
  const fs::path form = work_root / "local.zrf";
  testing_support::write_bytes(form, orders_form_bytes());
  viewer().ReportFile = "file://" + form.string();
  viewer().dataFile = "file://" + viewer_data("orders_page.html").string();
  viewer().PreviewReport();
  EXPECT_EQ(viewer().Log, "");
  EXPECT_EQ(PageTexts(), orders_texts("0"));
}

TEST_F(PipelineTest, SilentRunShowsNoProgressWindow) {
  UseOrders();
  viewer().Progress = 1;
  viewer().PreviewReport();
  EXPECT_EQ(PageTexts(), orders_texts("0"));
  for (const UiCall& call : ui.calls())
    EXPECT_EQ(call.kind, UiCall::Kind::Message) << "no progress call expected";
  EXPECT_FALSE(report().ShowProgress);
}

TEST_F(PipelineTest, ASecondRunReusesTheDataSourcesAndForgetsOneShotProperties) {
  UseOrders();
  viewer().Params = "Year=2026";
  viewer().PreviewReport();
  DataSource* master_source = runner().components().FindSource("DSDATAMASTER");
  ASSERT_NE(master_source, nullptr);

  viewer().PreviewReport();
  EXPECT_EQ(viewer().Log, "");
  EXPECT_EQ(PageTexts(), orders_texts("0"));  // Params was used up by the first run
  EXPECT_EQ(runner().components().FindSource("DSDATAMASTER"), master_source);
  ClientDataset* master = runner().components().FindDataset("DATAMASTER");
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(master_source->dataset(), master);
  EXPECT_EQ(master->record_count(), 3u);
}

TEST_F(PipelineTest, DataMetaAloneGivesTheSections) {
  viewer().ReportFile = server.url("/r/orders.zrf");
  viewer().DataMeta = read_bytes(viewer_data("orders_page.html"));
  viewer().PreviewReport();
  EXPECT_EQ(viewer().Log, "");
  EXPECT_EQ(PageTexts(), orders_texts("0"));
  EXPECT_EQ(viewer().DataMeta, "");
  EXPECT_EQ(server.requests().size(), 1u);  // the form only
}

TEST_F(PipelineTest, DataMetaReplacesADataPageSectionOfTheSameName) {
  UseOrders();
  viewer().DataMeta =
      "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD attrname=\"ID\" fieldtype=\"i4\"/><FIELD attrname=\"Name\" fieldtype=\"string\" "
      "WIDTH=\"20\"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW ID=\"3\" Name=\"Choi\"/>"
      "</ROWDATA></DATAPACKET>\r\nDATANAME=DataMaster\r\n";
  viewer().PreviewReport();
  EXPECT_EQ(viewer().Log, "");
  EXPECT_EQ(PageTexts(), (std::vector<std::string>{"Year 0", "3 Choi", "12 70"}));
}

// What a load that stops leaves behind.
struct StopCase {
  std::string name;
  std::function<void(const std::string& base, TzrViewer&)> setup;
  std::string log;
  std::vector<std::string> messages;
  std::string detail = {};  // what the host learns beyond Log (base address left out)
};

class PipelineStopTest : public PipelineTest {
 protected:
  void SetUp() override {
    server.add_slow("/r/slow.html");
    server.add("/r/nodata.html", "<html><body><PRE>\nno sections here\n</PRE></body></html>");
    server.add_status("/r/missing.zrf", 404);
    server.add_status("/r/missing.html", 404);
  }
};

TEST_F(PipelineStopTest, ExpectedFailuresEndInLogAndMessageBoxes) {
  const std::string no_permission = kNoPermission;
  const std::vector<StopCase> cases = {
      {"no permission",
       [](const std::string&, TzrViewer& v) { v.Acl = 1; },
       no_permission,
       {no_permission}},
      {"no permission, quiet",
       [](const std::string&, TzrViewer& v) {
         v.Acl = 1;
         v.publ = 1;
       },
       no_permission,
       {no_permission}},
      {"form download error",
       [](const std::string& base, TzrViewer& v) { v.ReportFile = base + "/r/missing.zrf"; },
       "Cannot get /r/missing.zrf: HTTP status 404",
       {}},
      {"time out",
       [](const std::string& base, TzrViewer& v) {
         v.dataFile = base + "/r/slow.html";
         v.TimeOut = 10;
       },
       "Time out",
       {"Time out."},
       "the data page /r/slow.html did not arrive within TimeOut (10 ticks of 100 ms)"},
      {"time out, quiet",
       [](const std::string& base, TzrViewer& v) {
         v.dataFile = base + "/r/slow.html";
         v.TimeOut = 10;
         v.publ = 1;
       },
       "Time out",
       {},
       "the data page /r/slow.html did not arrive within TimeOut (10 ticks of 100 ms)"},
      {"page without sections",
       [](const std::string& base, TzrViewer& v) {
         v.dataFile = base + "/r/nodata.html";
         v.DataMeta.clear();  // its sections would make up for the page's
       },
       "SERVER ERROR.",
       {"SERVER ERROR."},
       "the data page /r/nodata.html holds no data section (no line DATANAME=name after a "
       "section)"},
      {"page not found",
       [](const std::string& base, TzrViewer& v) { v.dataFile = base + "/r/missing.html"; },
       "SERVER ERROR.",
       {"SERVER ERROR."},
       "Cannot get /r/missing.html: HTTP status 404"},
      {"form address not set",
       [](const std::string&, TzrViewer& v) { v.ReportFile.clear(); },
       "ReportFile is not set",
       {}},
      {"no sections, quiet",
       [](const std::string& base, TzrViewer& v) {
         v.dataFile = base + "/r/nodata.html";
         v.DataMeta.clear();
         v.publ = 1;
       },
       "SERVER ERROR.",
       {},
       "the data page /r/nodata.html holds no data section (no line DATANAME=name after a "
       "section)"},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    UseOrders();
    viewer().Acl = 0;
    viewer().publ = 0;
    viewer().TimeOut = 0;
    viewer().Params = "Year=1";
    viewer().DataMeta = "x\r\nDATANAME=EXTRA\r\n";
    viewer().GridMeta = "g\r\nGRIDNAME=G\r\n";
    viewer().ImageFile = "Pic=/nonexistent.png";
    ui.clear_calls();
    diagnostics.clear();
    c.setup(server.url(""), viewer());
    viewer().PreviewReport();

    const std::string base = server.url("");
    auto without_base = [&](std::string text) {
      for (size_t at = text.find(base); at != std::string::npos; at = text.find(base))
        text.erase(at, base.size());
      return text;
    };
    EXPECT_EQ(without_base(viewer().Log), c.log);
    EXPECT_EQ(Messages(), c.messages);
    if (c.detail.empty()) {
      EXPECT_EQ(diagnostics, std::vector<std::string>{});
    } else {
      ASSERT_EQ(diagnostics.size(), 1u);
      EXPECT_EQ(without_base(diagnostics[0]), c.detail);
    }
    if (c.log == "Time out") {
      EXPECT_EQ(runner().wait_ticks(), 11);  // TimeOut 10 gives up after the 11th tick
    }
    for (const UiCall& call : ui.calls())
      if (call.kind == UiCall::Kind::Message) {
        EXPECT_EQ(call.caption, kNoticeCaption);
      }
    EXPECT_EQ(report().EMFPages.Count(), 0);
    EXPECT_FALSE(runner().shown());
    EXPECT_FALSE(ui.progress_window_shown());
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{});  // no saved page left for a later load
    // The load stopped before it used the one-shot properties (DataMeta is read only after
    // the data page; a stop at the section step has read nothing).
    EXPECT_EQ(viewer().Params, "Year=1");
    EXPECT_EQ(viewer().GridMeta, "g\r\nGRIDNAME=G\r\n");
    EXPECT_EQ(viewer().ImageFile, "Pic=/nonexistent.png");
    if (c.log != "SERVER ERROR.") {
      EXPECT_EQ(viewer().DataMeta, "x\r\nDATANAME=EXTRA\r\n");
    }
  }
}

// A form that does not load stops the run: Log names the address and the reason, nothing is
// prepared and no work file stays. The engine's own message box says what it always says.
TEST_F(PipelineStopTest, AFormThatDoesNotLoadStopsTheRun) {
  const std::string form = orders_form_bytes();
  server.add("/r/page.html", "<html><body>Not here</body></html>");
  server.add("/r/truncated.zrf", form.substr(0, 100), "application/octet-stream");
  server.add("/r/empty.zrf", "", "application/octet-stream");
  const struct {
    std::string path;
    std::string log;  // after the address
    bool message;     // "Unsupported VTF format" shown
  } cases[] = {
      {"/r/page.html", " is not a report form (unsupported format)", true},
      {"/r/truncated.zrf", " is not a report form (damaged at offset ", true},
      {"/r/empty.zrf", " is not a report form (empty)", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    UseOrders();
    viewer().ReportFile = server.url(c.path);
    ui.clear_calls();
    viewer().SaveImage(0, "out.pdf");
    EXPECT_TRUE(viewer().Log.starts_with(server.url(c.path) + c.log)) << viewer().Log;
    EXPECT_EQ(Messages(), c.message ? std::vector<std::string>{"Unsupported VTF format"}
                                    : std::vector<std::string>{});
    EXPECT_EQ(report().EMFPages.Count(), 0);
    EXPECT_EQ(WorkFiles(), std::vector<std::string>{});  // no PDF either
  }
}

// A server that takes the request and never answers: the form download gives up after
// TimeOut ticks with Log naming the address; a refused connection fails at once.
TEST_F(PipelineStopTest, DownloadsGiveUpAtTheTimeOut) {
  testing_support::SilentServer silent;
  ASSERT_NE(silent.port(), 0);
  viewer().ReportFile = silent.url("/r/orders.zrf");
  viewer().TimeOut = 10;
  auto start = std::chrono::steady_clock::now();
  viewer().PreviewReport();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  EXPECT_EQ(viewer().Log, "Cannot get " + silent.url("/r/orders.zrf") + ": no answer within 1.0 s");
  EXPECT_EQ(viewer().TimeOut, 10);
  EXPECT_EQ(report().EMFPages.Count(), 0);

  viewer().ReportFile = testing_support::refused_url("/r/orders.zrf");
  viewer().TimeOut = 0;  // a minute
  start = std::chrono::steady_clock::now();
  viewer().PreviewReport();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(viewer().Log.starts_with("Cannot get " + viewer().ReportFile + ": ")) << viewer().Log;
}

// A picture named by an address stays empty when its server never answers, as any failed
// picture does; the run goes on, and Log names the address that gave up at the time limit.
TEST_F(PipelineStopTest, APictureThatGivesUpAtTheTimeOutIsNamedInLog) {
  testing_support::SilentServer silent;
  ASSERT_NE(silent.port(), 0);
  const fs::path json =
      fs::temp_directory_path() / ("zr_picture_form_" + std::to_string(getpid()) + ".json");
  const fs::path form = json.string() + ".zrf";
  testing_support::write_bytes(json, R"({"Pages": [{"Objects": [
      {"Class": "TvtBandView", "Name": "Title", "BandType": "Report title", "Height": 60},
      {"Class": "TvtPictureView", "Name": "Logo", "Top": 2, "Width": 50, "Height": 50,
       "Url": ")" + silent.url("/logo.bmp") +
                                         R"("}]}]})");
  auto built = testing_support::run_tool("form build " + json.string() + " -o " + form.string());
  ASSERT_EQ(built.status, 0) << built.output;
  server.add("/r/picture.zrf", read_bytes(form), "application/octet-stream");
  fs::remove(json);
  fs::remove(form);

  viewer().ReportFile = server.url("/r/picture.zrf");
  viewer().TimeOut = 10;
  const auto start = std::chrono::steady_clock::now();
  viewer().PreviewReport();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(viewer().Log, "Cannot get " + silent.url("/logo.bmp") + ": no answer within 1.0 s");
  EXPECT_EQ(report().EMFPages.Count(), 1);
  EXPECT_TRUE(runner().shown());
}

TEST_F(PipelineStopTest, TimeOutBelowTenIsRaisedToSixHundredAndTenGivesUpAfterElevenTicks) {
  struct Case {
    int32_t time_out;
    int32_t after;
  };
  for (const Case c : {Case{0, 600}, Case{-5, 600}, Case{9, 600}, Case{10, 10}, Case{601, 601}}) {
    viewer().TimeOut = c.time_out;
    viewer().ReportFile = server.url("/r/orders.zrf");
    viewer().dataFile = server.url("/r/orders_page.html");
    viewer().PreviewReport();
    EXPECT_EQ(viewer().TimeOut, c.after) << c.time_out;
    EXPECT_EQ(viewer().Log, "");
  }
}

TEST_F(PipelineTest, WithoutAnyDataTheFormIsPreparedAlone) {
  server.add("/r/plain.zrf", orders_form_bytes());
  viewer().ReportFile = server.url("/r/plain.zrf");
  viewer().Params = "Year=7";
  viewer().PreviewReport();
  EXPECT_TRUE(PageTexts().size() >= 1u);
  EXPECT_EQ(PageTexts().front(), "Year 7");
  EXPECT_EQ(viewer().Params, "");
}

TEST_F(PipelineTest, AMasterBandThatNamesNoDatasetWalksTheSectionLoadedLast) {
  fs::create_directories(work_root);
  const fs::path json = work_root / "bare.json", form = work_root / "bare.zrf";
  testing_support::write_bytes(json, R"({"Pages": [{"Objects": [
      {"Class": "TvtBandView", "Name": "Rows", "BandType": "Master data", "Top": 20, "Height": 20},
      {"Class": "TvtMemoView", "Name": "Row", "Top": 21, "Width": 300, "Height": 18,
       "Memo": ["[OrderNo] [DATADETAIL.Amount]"]}]}]})");
  const auto built =
      testing_support::run_tool("form build " + json.string() + " -o " + form.string());
  ASSERT_EQ(built.status, 0) << built.output;
  server.add("/r/bare.zrf", read_bytes(form));
  viewer().ReportFile = server.url("/r/bare.zrf");
  viewer().dataFile = server.url("/r/orders_page.html");
  viewer().PreviewReport();
  EXPECT_EQ(viewer().Log, "");
  // The page lists M, then D: the band walks D, in the order it was sent.
  EXPECT_EQ(PageTexts(), (std::vector<std::string>{"10 100", "12 70", "11 50"}));
}

TEST_F(PipelineTest, ErrorsRecordedWhilePreparingGoToLog) {
  // Silent runs stop quietly at an undefined name and keep the message in ErrorText.
  std::string form = orders_form_bytes();
  const std::string year = "Year [Year]";
  form.replace(form.find(year), year.size(), "Year [Nope]");
  server.add("/r/undefined.zrf", form);
  viewer().ReportFile = server.url("/r/undefined.zrf");
  viewer().dataFile = server.url("/r/orders_page.html");
  viewer().Progress = 1;
  viewer().PreviewReport();
  EXPECT_EQ(viewer().Log, "Undefined symbol \"NOPE\"");
  EXPECT_EQ(report().ErrorText, "");
  EXPECT_TRUE(Messages().empty());
}

// An error that stops preparation leaves no page; its message is the run's outcome in Log
// (the message box shows it as well), for a preview and for an export alike.
TEST_F(PipelineTest, AnErrorThatStopsPreparationGoesToLog) {
  std::string form = orders_form_bytes();
  const std::string year = "Year [Year]";
  form.replace(form.find(year), year.size(), "Year [Nope]");
  server.add("/r/undefined.zrf", form);
  for (int progress : {0, 1}) {
    for (bool save : {false, true}) {
      SCOPED_TRACE(std::to_string(progress) + (save ? " save" : " preview"));
      viewer().ReportFile = server.url("/r/undefined.zrf");
      viewer().dataFile = server.url("/r/orders_page.html");
      viewer().Progress = progress;
      ui.clear_calls();
      if (save)
        viewer().SaveImage(0, "out.pdf");
      else
        viewer().PreviewReport();
      if (progress == 0) {
        EXPECT_TRUE(viewer().Log.starts_with("An error occured during calculating\r"))
            << viewer().Log;
        EXPECT_TRUE(viewer().Log.ends_with("\r\rUndefined symbol \"NOPE\"")) << viewer().Log;
        EXPECT_EQ(Messages().size(), 1u);
      } else {
        EXPECT_EQ(viewer().Log, "Undefined symbol \"NOPE\"");
        EXPECT_TRUE(Messages().empty());
      }
      EXPECT_FALSE(fs::exists(work_root / "out.pdf") && progress == 0);
      fs::remove(work_root / "out.pdf");
    }
  }
}

// Every way out of a load removes its work files: here the first section is no data packet
// and fails the call while the files of the two after it are written.
TEST_F(PipelineTest, AFailedLoadLeavesNoWorkFiles) {
  server.add("/r/broken.html", "<PRE>\nnot a packet\nDATANAME=EXTRA\n</PRE>\n" +
                                   read_bytes(viewer_data("orders_page.html")));
  viewer().ReportFile = server.url("/r/orders.zrf");
  viewer().dataFile = server.url("/r/broken.html");
  EXPECT_THROW(viewer().PreviewReport(), ZorelError);
  EXPECT_EQ(WorkFiles(), std::vector<std::string>{});
  EXPECT_FALSE(ui.progress_window_shown());
}

// Data that reaches no band prepares an empty or short report without an error: the host is
// told in warnings, never in Log.
TEST_F(PipelineTest, DataThatNoBandUsesIsWarnedAbout) {
  const std::string page = read_bytes(viewer_data("orders_page.html"));
  const std::string master_packet =
      page.substr(page.find("<?xml"), page.find("DATANAME=M") - page.find("<?xml"));
  server.add("/r/renamed.html", "<PRE>\n" + master_packet + "DATANAME=CUSTOMERS\n</PRE>\n");
  server.add("/r/extra.html",
             "<PRE>\n" + master_packet + "DATANAME=EXTRA\n" + page.substr(page.find("<?xml")));
  const struct {
    std::string page;
    std::vector<std::string> warnings;
  } cases[] = {
      {"/r/orders_page.html", {}},
      {"/r/renamed.html",
       {"warning: band \"Customer\" names the dataset \"datasetDATAMASTER\", which no data "
        "section filled; it walks the report's dataset \"datasetCUSTOMERS\" instead",
        "warning: band \"Order\" names the dataset \"datasetDATADETAIL\", which no data section "
        "filled"}},
      {"/r/extra.html", {"warning: section \"EXTRA\" is used by no band and no object"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    diagnostics.clear();
    viewer().ReportFile = server.url("/r/orders.zrf");
    viewer().dataFile = server.url(c.page);
    viewer().PreviewReport();
    EXPECT_EQ(viewer().Log, "");
    EXPECT_EQ(diagnostics, c.warnings);
  }
}

TEST_F(PipelineTest, ABadSectionNameFailsTheCallAfterCleaningUp) {
  server.add("/r/bad.html", "<PRE>\nx\nDATANAME=../escape\n</PRE>\n");
  viewer().ReportFile = server.url("/r/orders.zrf");
  viewer().dataFile = server.url("/r/bad.html");
  EXPECT_THROW(viewer().PreviewReport(), ZorelError);
  EXPECT_FALSE(ui.progress_window_shown());
  EXPECT_EQ(report().EMFPages.Count(), 0);
  EXPECT_FALSE(std::filesystem::exists(work_root.parent_path() / "escape"));
}

TEST_F(PipelineTest, PrintSaysThatNothingWasPrintedOnTheVirtualPrinter) {
  UseOrders();
  viewer().PrintReport();
  EXPECT_EQ(
      viewer().Log,
      "Nothing was printed: no printer is installed, only the virtual printer (1 pages prepared)");
  EXPECT_FALSE(runner().shown());
  EXPECT_EQ(PageTexts(), orders_texts("0"));  // prepared all the same
}

TEST_F(PipelineTest, HistoryKeepsEveryRunAndClearHistoryDropsIt) {
  UseOrders();
  viewer().Set_History(1);
  viewer().PreviewReport();
  viewer().Acl = 1;  // an empty run is recorded too
  viewer().PreviewReport();

  const fs::path history = work_root / "History";
  EXPECT_EQ(read_bytes(history / "zHistory.dat"), "20261210120000\r\n20261210120000\r\n");
  ASSERT_TRUE(fs::exists(history / "20261210120000"));
  // The second (empty) run overwrote the first run's file in the same second.
  report().LoadPreparedReport(history / "20261210120000");
  EXPECT_EQ(report().EMFPages.Count(), 0);

  viewer().Acl = 0;
  viewer().PreviewReport();
  report().EMFPages.Clear();
  report().LoadPreparedReport(history / "20261210120000");
  EXPECT_EQ(PageTexts(), orders_texts("0"));

  viewer().ClearHistory();
  EXPECT_TRUE(fs::is_empty(history));
  EXPECT_EQ(history_stamp(46366.5 + 1.0 / 86400 * 3725), "20261210130205");
}

TEST_F(PipelineTest, InHtmlDecidesWhenTheLinkHandlersAreConnected) {
  UseOrders();
  viewer().InHtml = "1";
  viewer().PreviewReport();
  EXPECT_TRUE(static_cast<bool>(report().OnObjectClick));  // connected after the show
  viewer().PrintReport();
  EXPECT_FALSE(static_cast<bool>(report().OnObjectClick));  // print leaves them cleared
  viewer().InHtml = "0";
  viewer().PrintReport();
  EXPECT_TRUE(static_cast<bool>(report().OnObjectClick));
  EXPECT_TRUE(static_cast<bool>(report().OnMouseOverObject));
}

}  // namespace
}  // namespace zr
