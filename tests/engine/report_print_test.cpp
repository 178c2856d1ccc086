// The printing loop over a printer held in memory: which pages print in which order, copies
// and collation, odd and even pages, the job split on a paper change, the page's place on
// the printer's page, progress, cancel and failures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/report/report.h"
#include "engine_fixture.h"
#include "platform/errors.h"
#include "probe_view.h"

namespace {

using namespace zr;
using testing_support::ProbeView;
using Which = TvtReport::WhichPages;
using Pages = std::vector<std::string>;

constexpr int kA3 = 8;
constexpr int kA4 = 9;

PrinterCapabilities laser() {
  PrinterCapabilities caps;
  caps.driver = "Test Laser";
  caps.papers = {{"iso_a4_210x297mm", 2100, 2970, {42, 42, 42, 42}},
                 {"iso_a3_297x420mm", 2970, 4200, {42, 42, 42, 42}}};
  caps.default_paper = 0;
  caps.sources = {"tray-1", "manual"};
  caps.dpi_x = caps.dpi_y = 600;
  return caps;
}

class PrintLoop : public testing_support::EngineTest {
 protected:
  void SetUp() override {
    ProbeView::Register(globals());
    env.printers.add_printer("Laser", laser());
    env.printers.set_default_printer("Laser");
    globals().printer.SetPrinter();
  }

  // Appends pages named "1", "2" ... on `paper`, each holding one probe named after it.
  void add_pages(int count, int paper = kA4, uint8_t orientation = 0) {
    for (int k = 0; k < count; ++k) {
      TvtPage form;
      int32_t width = paper == kA3 ? 2970 : 2100;
      int32_t height = paper == kA3 ? 4200 : 2970;
      form.SetPaper(paper, width, height, orientation, -1);
      TvtEMFPages& pages = report.EMFPages;
      pages.Insert(pages.Count(), form);
      TvtPreparedPage& info = pages.PageInfo(pages.Count() - 1);
      info.Page = std::make_unique<TvtPage>();
      info.Page->Add(ProbeView::Make(std::to_string(pages.Count()), 10, 10, 100, 20));
      pages.PageToObjects(pages.Count() - 1);
      info.Page.reset();
    }
  }

  void print(const std::string& list = "", int copies = 1, bool collate = true,
             Which which = Which::All) {
    ProbeView::log = {};
    env.printers.clear_jobs();
    report.PrintPreparedReport(list, copies, collate, which);
  }

  // The pages printed, in order, and how many pages each job held.
  Pages printed() const { return ProbeView::log.drawn; }
  std::vector<size_t> job_sizes() const {
    std::vector<size_t> sizes;
    for (const MemoryPrintedJob& job : env.printers.jobs()) sizes.push_back(job.pages.size());
    return sizes;
  }
  const std::vector<MemoryPrintedJob>& jobs() const { return env.printers.jobs(); }

  TvtReport report;
};

struct SelectionCase {
  const char* list;
  Which which;
  Pages pages;
};

TEST_F(PrintLoop, PrintsTheSelectedPagesInOrderInOneJob) {
  add_pages(12);
  const SelectionCase cases[] = {
      {"", Which::All, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
      {"1,3,5-8", Which::All, {"1", "3", "5", "6", "7", "8"}},
      {"10-", Which::All, {"10", "11", "12"}},
      {"9,2 , 4", Which::All, {"2", "4", "9"}},
      {"", Which::Even, {"2", "4", "6", "8", "10", "12"}},
      {"", Which::Odd, {"1", "3", "5", "7", "9", "11"}},
      {"3-7", Which::Even, {"4", "6"}},
      {"3-7", Which::Odd, {"3", "5", "7"}},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(c.list);
    print(c.list, 1, true, c.which);
    EXPECT_EQ(printed(), c.pages);
    EXPECT_EQ(job_sizes(), std::vector<size_t>{c.pages.size()});
    ASSERT_EQ(jobs().size(), 1u);
    EXPECT_EQ(jobs()[0].state, MemoryPrintedJob::State::Finished);
    EXPECT_EQ(jobs()[0].settings.copies, 1);
  }
}

TEST_F(PrintLoop, EvenPagesOfFive) {
  add_pages(5);
  print("", 1, true, Which::Even);
  EXPECT_EQ(printed(), (Pages{"2", "4"}));
}

TEST_F(PrintLoop, ASelectionOfNothingStartsNoJob) {
  add_pages(3);
  for (const char* list : {"12-5", "7", "3", "0"}) {
    SCOPED_TRACE(list);
    print(list, 1, true, std::string(list) == "3" ? Which::Even : Which::All);
    EXPECT_TRUE(printed().empty());
    EXPECT_TRUE(jobs().empty());
  }
}

TEST_F(PrintLoop, CollatedCopiesRepeatTheSequenceUncollatedGoToTheDriver) {
  add_pages(3);
  print("1-2", 3, true);
  EXPECT_EQ(printed(), (Pages{"1", "2", "1", "2", "1", "2"}));
  EXPECT_EQ(job_sizes(), std::vector<size_t>{6});
  EXPECT_EQ(jobs()[0].settings.copies, 1);

  print("1-2", 3, false);
  EXPECT_EQ(printed(), (Pages{"1", "2"}));
  ASSERT_EQ(jobs().size(), 1u);
  EXPECT_EQ(jobs()[0].settings.copies, 3);

  for (int copies : {0, -4}) {
    print("1", copies, true);
    EXPECT_EQ(printed(), (Pages{"1"}));
    EXPECT_EQ(jobs()[0].settings.copies, 1);
  }
}

TEST_F(PrintLoop, APaperChangeSplitsTheJob) {
  add_pages(2, kA4);
  add_pages(2, kA3);
  add_pages(1, kA4);
  print();
  EXPECT_EQ(printed(), (Pages{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(job_sizes(), (std::vector<size_t>{2, 2, 1}));
  EXPECT_EQ(jobs()[0].settings.media, "iso_a4_210x297mm");
  EXPECT_EQ(jobs()[1].settings.media, "iso_a3_297x420mm");
  EXPECT_EQ(jobs()[1].settings.paper_width, 2970);
  EXPECT_EQ(jobs()[1].settings.paper_height, 4200);
  EXPECT_EQ(jobs()[2].settings.media, "iso_a4_210x297mm");

  // Every job keeps the driver's copy count, not only the first.
  print("", 2, false);
  ASSERT_EQ(jobs().size(), 3u);
  for (const MemoryPrintedJob& job : jobs()) EXPECT_EQ(job.settings.copies, 2);

  // The first page that prints sets the paper, whatever page 1 uses.
  print("3-4");
  EXPECT_EQ(job_sizes(), std::vector<size_t>{2});
  EXPECT_EQ(jobs()[0].settings.media, "iso_a3_297x420mm");

  // Collated copies of pages on two papers: a job per run of one paper.
  print("2-3", 2, true);
  EXPECT_EQ(printed(), (Pages{"2", "3", "2", "3"}));
  EXPECT_EQ(job_sizes(), (std::vector<size_t>{1, 1, 1, 1}));
}

TEST_F(PrintLoop, LandscapePagesPrintOnTurnedPaper) {
  add_pages(1, kA4, 1);
  print();
  ASSERT_EQ(jobs().size(), 1u);
  EXPECT_TRUE(jobs()[0].settings.landscape);
  EXPECT_EQ(jobs()[0].settings.paper_width, 2970);
  EXPECT_EQ(jobs()[0].settings.paper_height, 2100);
}

TEST_F(PrintLoop, PagesLieOnThePaperOrInsideTheirMargins) {
  add_pages(2);
  TvtPreparedPage& margins = report.EMFPages.PageInfo(1);
  margins.UseMargins = false;
  margins.LeftMargin = 36;
  margins.TopMargin = 18;
  print("1");
  // The printer's page starts at the printable area: the paper begins 99 dots before it.
  const PrinterInfo& info = report.EMFPages.PageInfo(0).PrnInfo;
  EXPECT_EQ(info.device_offset_x, 99);
  EXPECT_EQ(ProbeView::log.offset_x, -99);
  EXPECT_EQ(ProbeView::log.offset_y, -99);
  EXPECT_DOUBLE_EQ(ProbeView::log.scale_x,
                   static_cast<double>(info.device_page_width) / info.page_width);
  EXPECT_TRUE(ProbeView::log.printing);

  print("2");
  const PrinterInfo& p = margins.PrnInfo;
  EXPECT_EQ(ProbeView::log.offset_x,
            std::lround(36.0 * p.device_printable_width / p.printable_width));
  EXPECT_EQ(ProbeView::log.offset_y,
            std::lround(18.0 * p.device_printable_height / p.printable_height));
  // The objects live only while their page prints.
  EXPECT_EQ(margins.Page, nullptr);
  EXPECT_FALSE(margins.Visible);
}

TEST_F(PrintLoop, TitleEventAndProgress) {
  add_pages(2, kA3);
  int events = 0;
  report.OnPrintReport = [&] {
    ++events;
    EXPECT_EQ(globals().printer.paper_code(), kA3);  // the first page's paper is taken
  };
  print();
  EXPECT_EQ(events, 1);
  EXPECT_EQ(jobs()[0].settings.title, "Untitled");
  EXPECT_EQ(jobs()[0].settings.printer, "Laser");

  env.ui.clear_calls();
  report.Title = "Sales";
  print();
  EXPECT_EQ(jobs()[0].settings.title, "Sales");
  std::vector<std::string> labels;
  for (const UiCall& call : env.ui.calls())
    if (call.kind == UiCall::Kind::ShowProgress) {
      EXPECT_EQ(call.caption, "Preparing report - Sales");
      labels.push_back(call.text);
    }
  EXPECT_EQ(labels,
            (std::vector<std::string>{"Printing page:", "Printing page:  1", "Printing page:  2"}));
  EXPECT_FALSE(env.ui.progress_window_shown());

  // With OnProgress the loop reports there and shows no window.
  std::vector<int> progress;
  report.OnProgress = [&](int n) { progress.push_back(n); };
  env.ui.clear_calls();
  print();
  EXPECT_EQ(progress, (std::vector<int>{1, 2}));
  EXPECT_TRUE(env.ui.calls().empty());
}

TEST_F(PrintLoop, CancelDropsTheJob) {
  add_pages(4);
  env.ui.cancel_progress();
  print();
  EXPECT_EQ(printed(), Pages{"1"});
  ASSERT_EQ(jobs().size(), 1u);
  EXPECT_EQ(jobs()[0].state, MemoryPrintedJob::State::Cancelled);
  EXPECT_TRUE(report.Terminated);
  EXPECT_FALSE(globals().printer.system_printer().Printing());
  EXPECT_FALSE(env.ui.progress_window_shown());
}

TEST_F(PrintLoop, FailuresComeBeforeAnyJobOrDropIt) {
  add_pages(3);
  EXPECT_THROW(print("1,x"), ConversionError);
  EXPECT_TRUE(jobs().empty());

  env.printers.set_job_refusal("Printing on \"Laser\" failed: the printer is stopped");
  try {
    print();
    FAIL();
  } catch (const ZorelError& error) {
    EXPECT_STREQ(error.what(), "Printing on \"Laser\" failed: the printer is stopped");
  }
  EXPECT_FALSE(globals().printer.system_printer().Printing());
  EXPECT_FALSE(env.ui.progress_window_shown());
  env.printers.set_job_refusal("");

  env.printers.remove_printer("Laser");
  try {
    print();
    FAIL();
  } catch (const ZorelError& error) {
    EXPECT_STREQ(error.what(),
                 "Nothing was printed: no printer is installed, only the virtual printer (3 "
                 "pages prepared)");
  }
}

}  // namespace
