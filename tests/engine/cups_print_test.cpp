// Printing on a real CUPS server the test starts itself (support/private_cups_server.h): the
// documents the queues receive are read back from the spool with pdfinfo and pdftotext. The
// tests skip only where cupsd is not installed.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/printing/cups_printer_system.h"
#include "platform/ui_services.h"
#include "support/private_cups_server.h"
#include "support/tool_run.h"

namespace zr {
namespace {

using testing_support::CupsJobRecord;
using testing_support::PrivateCupsServer;
using testing_support::run_command;
using Clock = std::chrono::steady_clock;
using Pages = std::vector<std::string>;

constexpr int kA3 = 8;
constexpr int kA4 = 9;
constexpr int kCanceled = 7;
constexpr int kCompleted = 9;

std::string ppd(const char* name) {
  return std::string(ZR_TEST_DATA_DIR "/printing/") + name;
}

// The "Page N" texts of a PDF document, page by page.
Pages page_texts(const std::string& pdf) {
  std::string text = run_command("pdftotext -layout " + pdf + " -").output;
  Pages pages;
  size_t start = 0;
  for (size_t feed; (feed = text.find('\f', start)) != std::string::npos; start = feed + 1) {
    std::smatch match;
    std::string page = text.substr(start, feed - start);
    pages.push_back(std::regex_search(page, match, std::regex("Page \\d+")) ? match.str() : "?");
  }
  return pages;
}

std::string page_size(const std::string& pdf) {
  std::string info = run_command("pdfinfo " + pdf).output;
  std::smatch match;
  return std::regex_search(info, match, std::regex("Page size: +([^\\n]*)")) ? match[1].str() : "";
}

class CupsPrinting : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PrivateCupsServer::installed()) GTEST_SKIP() << "cupsd is not installed";
    ASSERT_TRUE(server.running()) << "the private cupsd did not start:\n" << server.error_log();
    globals.printer.SetPrinter();
  }

  // Appends pages "Page 1", "Page 2" ... on `paper`.
  void add_pages(int count, int paper = kA4) {
    for (int k = 0; k < count; ++k) {
      TvtPage form;
      form.SetPaper(paper, paper == kA3 ? 2970 : 2100, paper == kA3 ? 4200 : 2970, 0, -1);
      TvtEMFPages& pages = report.EMFPages;
      pages.Insert(pages.Count(), form);
      TvtPreparedPage& info = pages.PageInfo(pages.Count() - 1);
      info.Page = std::make_unique<TvtPage>();
      auto memo = std::make_unique<TvtMemoView>();
      memo->Name = "Memo";
      memo->SetBounds(40, 40, 300, 30);
      memo->Memo = {"Page " + std::to_string(pages.Count())};
      info.Page->Add(std::move(memo));
      pages.PageToObjects(pages.Count() - 1);
      info.Page.reset();
    }
  }

  std::vector<CupsJobRecord> print(const std::string& list = "", int copies = 1,
                                   bool collate = true,
                                   TvtReport::WhichPages which = TvtReport::WhichPages::All) {
    size_t before = server.jobs().size();
    report.PrintPreparedReport(list, copies, collate, which);
    std::vector<CupsJobRecord> jobs = server.jobs();
    jobs.erase(jobs.begin(), jobs.begin() + static_cast<std::ptrdiff_t>(before));
    return jobs;
  }

  PrivateCupsServer server{{{"Office", ppd("pdf_laser.ppd"), "Test PDF Laser", true},
                            {"PostScript", ppd("ps_laser.ppd"), "Test PostScript Laser"}}};
  CupsPrinterSystem system{server.socket().string(), 2000};
  HeadlessUi ui{nullptr};
  FixedClock clock{46366.5};
  TvtGlobals globals{ui, system, clock};
  TvtReport report;
};

TEST_F(CupsPrinting, PagesReachTheQueueInOrderAsOnePdf) {
  add_pages(5);
  report.Title = "Monthly sales";
  std::vector<CupsJobRecord> jobs = print();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].printer, "Office");
  EXPECT_EQ(jobs[0].name, "Monthly sales");
  EXPECT_EQ(jobs[0].media, "iso_a4_210x297mm");
  EXPECT_EQ(page_texts(jobs[0].document),
            (Pages{"Page 1", "Page 2", "Page 3", "Page 4", "Page 5"}));
  EXPECT_NE(page_size(jobs[0].document).find("(A4)"), std::string::npos);

  report.Title.clear();
  jobs = print("", 1, true, TvtReport::WhichPages::Even);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].name, "Untitled");
  EXPECT_EQ(page_texts(jobs[0].document), (Pages{"Page 2", "Page 4"}));

  jobs = print("1, 4-");
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(page_texts(jobs[0].document), (Pages{"Page 1", "Page 4", "Page 5"}));
}

TEST_F(CupsPrinting, CopiesCollatedByTheLoopUncollatedByTheServer) {
  add_pages(3);
  std::vector<CupsJobRecord> jobs = print("1-2", 3, true);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].copies, 1);
  EXPECT_EQ(page_texts(jobs[0].document),
            (Pages{"Page 1", "Page 2", "Page 1", "Page 2", "Page 1", "Page 2"}));

  jobs = print("1-2", 3, false);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].copies, 3);
  EXPECT_EQ(page_texts(jobs[0].document), (Pages{"Page 1", "Page 2"}));
}

TEST_F(CupsPrinting, APaperChangeGivesTwoJobsWithTheirMedia) {
  add_pages(2, kA4);
  add_pages(1, kA3);
  std::vector<CupsJobRecord> jobs = print();
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].media, "iso_a4_210x297mm");
  EXPECT_EQ(page_texts(jobs[0].document), (Pages{"Page 1", "Page 2"}));
  EXPECT_EQ(jobs[1].media, "iso_a3_297x420mm");
  EXPECT_EQ(page_texts(jobs[1].document), (Pages{"Page 3"}));
  EXPECT_NE(page_size(jobs[1].document).find("(A3)"), std::string::npos);
}

TEST_F(CupsPrinting, AQueueThatTakesOnlyPostScriptGetsPostScript) {
  add_pages(3);
  globals.printer.SetPrinterIndex(globals.printer.IndexOfPrinter("PostScript"));
  std::vector<CupsJobRecord> jobs = print();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].printer, "PostScript");
  std::string document = run_command("cat " + jobs[0].document).output;
  EXPECT_EQ(document.rfind("%!PS", 0), 0u) << document.substr(0, 40);
  EXPECT_NE(document.find("%%Pages: 3"), std::string::npos);
}

TEST_F(CupsPrinting, CancelLeavesNoJobBehind) {
  add_pages(4);
  ui.cancel_progress();
  std::vector<CupsJobRecord> jobs = print();
  EXPECT_TRUE(report.Terminated);
  ASSERT_LE(jobs.size(), 1u);
  // The server has let go of the job: cancelled (or aborted), never printed or pending.
  auto deadline = Clock::now() + std::chrono::seconds(5);
  for (;;) {
    jobs = server.jobs();
    bool settled = std::all_of(jobs.begin(), jobs.end(),
                               [](const CupsJobRecord& job) { return job.state >= kCanceled; });
    if (settled || Clock::now() > deadline) break;
  }
  for (const CupsJobRecord& job : jobs) {
    EXPECT_GE(job.state, kCanceled);
    EXPECT_NE(job.state, kCompleted);
  }
}

TEST_F(CupsPrinting, AStoppedOrSilentServerIsReportedQuickly) {
  add_pages(2);
  server.freeze();
  auto start = Clock::now();
  try {
    report.PrintPreparedReport("", 1, true, TvtReport::WhichPages::All);
    ADD_FAILURE() << "printing on a frozen server succeeded";
  } catch (const ZorelError& error) {
    EXPECT_NE(std::string(error.what()).find("does not answer"), std::string::npos) << error.what();
  }
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  server.thaw();

  server.stop();
  CupsPrinterSystem fresh(server.socket().string(), 2000);
  EXPECT_TRUE(fresh.printer_names().empty());
  EXPECT_NE(fresh.problem().find("cannot be reached"), std::string::npos) << fresh.problem();
}

}  // namespace
}  // namespace zr
