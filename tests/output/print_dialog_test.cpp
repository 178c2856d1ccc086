// The print dialog as a model and the preview's print command over printers held in memory:
// what the dialog shows and carries back, the copies buttons, cancelling, and printing after
// a change of printer.
#include "output/printing/print_dialog.h"

#include <gtest/gtest.h>

#include "engine/engine_fixture.h"
#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "output/printing/print_command.h"
#include "platform/errors.h"

namespace zr {
namespace {

PrinterCapabilities printer_of(const char* driver, int32_t width, int32_t height) {
  PrinterCapabilities caps;
  caps.driver = driver;
  caps.papers = {{"iso_a4_210x297mm", 2100, 2970, {42, 42, 42, 42}},
                 {"custom_label", width, height, {}}};
  caps.default_paper = 0;
  return caps;
}

class PrintDialogTest : public testing_support::EngineTest {
 protected:
  void SetUp() override {
    env.printers.add_printer("Laser", printer_of("Laser", 2970, 4200));
    env.printers.add_printer("Label", printer_of("Label", 1016, 1524));
    env.printers.set_default_printer("Laser");
    globals().printer.SetPrinter();
    // A one-page report: a title band with a memo.
    report.Pages.Add();
    auto band = std::make_unique<TvtBandView>();
    band->Name = "Title";
    band->SetBandType(btReportTitle);
    band->SetBounds(0, 0, 600, 40);
    report.Pages.Items(0).Add(std::move(band));
    auto memo = std::make_unique<TvtMemoView>();
    memo->Name = "Memo";
    memo->SetBounds(10, 0, 300, 18);
    memo->Memo = {"Hello"};
    report.Pages.Items(0).Add(std::move(memo));
  }

  const std::vector<MemoryPrintedJob>& jobs() const { return env.printers.jobs(); }
  TvtPrinter& printer() { return globals().printer; }

  TvtReport report;
};

TEST_F(PrintDialogTest, ShowsItsTextsAndTheSystemPrinters) {
  printer().SetPrinterIndex(1);
  TvtPrintForm form(printer(), 2, false);
  EXPECT_EQ(form.Caption, "Print");
  EXPECT_EQ(form.PrinterGroup, "Printer");
  EXPECT_EQ(form.PropertiesCaption, "Properties");
  EXPECT_EQ(form.CopiesGroup, "Copies");
  EXPECT_EQ(form.PagesGroup, "Page range");
  EXPECT_EQ(form.AllCaption, "&All");
  EXPECT_EQ(form.CurrentPageCaption, "Current pa&ge");
  EXPECT_EQ(form.PagesCaption, "&Pages:");
  EXPECT_EQ(form.PagesHint,
            "Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12");
  EXPECT_EQ(form.NameLabel, "&Name:");
  EXPECT_EQ(form.CopiesLabel, "Number of &copies:");
  EXPECT_EQ(form.CollateCaption, "Co&llate");
  EXPECT_EQ(form.OkCaption, "P&rint");
  EXPECT_EQ(form.WhichItems, (std::vector<std::string>{"All pages", "Odd pages", "Even pages"}));
  // The virtual printer is not offered; the list starts at the current printer.
  EXPECT_EQ(form.Printers(), (std::vector<std::string>{"Laser", "Label"}));
  EXPECT_EQ(form.PrinterIndex(), 1);
  EXPECT_EQ(form.CopiesText, "2");
  EXPECT_FALSE(form.Collate);
  EXPECT_EQ(form.PageRange, TvtPrintForm::Range::All);
  EXPECT_EQ(form.WhichIndex, 0);
  EXPECT_THROW(form.ChoosePrinter(2), ZorelError);  // the virtual printer
}

TEST_F(PrintDialogTest, CopiesButtonsCollateAndPageRange) {
  TvtPrintForm form(printer(), 1, true);
  form.CopiesDown();
  EXPECT_EQ(form.CopiesText, "1");  // never below 1
  form.CopiesUp();
  form.CopiesUp();
  EXPECT_EQ(form.CopiesText, "3");
  form.CopiesDown();
  EXPECT_EQ(form.CopiesText, "2");
  form.CopiesText = "x";
  form.CopiesUp();
  form.CopiesDown();
  EXPECT_EQ(form.CopiesText, "x");
  EXPECT_THROW(form.Accept(1), ConversionError);
  form.CopiesText = "";
  EXPECT_THROW(form.Accept(1), ConversionError);

  EXPECT_TRUE(form.Picture().collated);
  EXPECT_EQ(form.Picture().bounds, (Rect{8, 0, 82, 53}));
  form.ClickCollateLabel();
  EXPECT_FALSE(form.Collate);
  EXPECT_EQ(form.Picture().bounds, (Rect{0, 8, 92, 48}));

  form.CopiesText = "4";
  form.EnterPages("2-3");
  EXPECT_EQ(form.PageRange, TvtPrintForm::Range::Pages);
  form.WhichIndex = 2;
  TvtPrintRequest request = form.Accept(7);
  EXPECT_EQ(request.PageList, "2-3");
  EXPECT_EQ(request.Copies, 4);
  EXPECT_FALSE(request.Collate);
  EXPECT_EQ(request.Which, TvtReport::WhichPages::Even);
  form.PageRange = TvtPrintForm::Range::CurrentPage;
  EXPECT_EQ(form.Accept(7).PageList, "7");
  form.PageRange = TvtPrintForm::Range::All;
  EXPECT_EQ(form.Accept(7).PageList, "");
}

TEST_F(PrintDialogTest, CancelSelectsTheRememberedPrinterAgain) {
  ASSERT_TRUE(report.PrepareReport());
  bool shown = false;
  TvtPrintCommandHooks hooks;
  hooks.show_dialog = [&](TvtPrintForm& form) {
    shown = true;
    form.ChoosePrinter(1);
    EXPECT_EQ(printer().device(), "Label");
    return false;
  };
  EXPECT_FALSE(RunPrintCommand(report, 1, hooks));
  EXPECT_TRUE(shown);
  EXPECT_EQ(printer().device(), "Laser");
  EXPECT_TRUE(jobs().empty());
}

// A form laid out for the virtual printer leaves the engine printer there while the dialog
// shows a real one: Properties edits the real one shown, and cancelling puts both back.
TEST_F(PrintDialogTest, CancelLeavesTheVirtualPrinterAsItWas) {
  printer().SetPrinterIndex(printer().virtual_printer_index());
  {
    TvtPrintForm form(printer(), 1, true);
    EXPECT_EQ(form.PrinterIndex(), 0);
    form.Cancel();
    EXPECT_TRUE(printer().is_virtual());
    EXPECT_EQ(printer().system_printer().PrinterIndex(), 0);
  }
  {
    TvtPrintForm form(printer(), 1, true);
    form.ChoosePrinter(1);
    EXPECT_EQ(printer().device(), "Label");
    form.Cancel();
    EXPECT_TRUE(printer().is_virtual());
    EXPECT_EQ(printer().system_printer().PrinterIndex(), 0);
    EXPECT_EQ(form.PrinterIndex(), 0);
  }
  {
    TvtPrintForm form(printer(), 1, true);
    std::string shown;
    EXPECT_TRUE(form.Properties([&](DeviceMode& mode) {
      shown = printer().device();
      mode.orientation = DMORIENT_LANDSCAPE;
      return true;
    }));
    EXPECT_EQ(shown, "Laser");
    EXPECT_EQ(printer().system_printer().Mode()->orientation, DMORIENT_LANDSCAPE);
    form.Cancel();
    EXPECT_TRUE(printer().is_virtual());
    EXPECT_EQ(printer().system_printer().PrinterIndex(), 0);
  }
}

TEST_F(PrintDialogTest, NothingWithoutPagesOrPrinters) {
  TvtPrintCommandHooks hooks;
  hooks.show_dialog = [](TvtPrintForm&) -> bool {
    ADD_FAILURE() << "no dialog expected";
    return true;
  };
  EXPECT_FALSE(RunPrintCommand(report, 1, hooks));  // not prepared
  ASSERT_TRUE(report.PrepareReport());
  env.printers.remove_printer("Laser");
  env.printers.remove_printer("Label");
  printer().SetPrinter();
  EXPECT_FALSE(RunPrintCommand(report, 1, hooks));
}

TEST_F(PrintDialogTest, PrintsWithTheReportDefaultsAndTheChoices) {
  ASSERT_TRUE(report.PrepareReport());
  report.DefaultCopies = 3;
  report.DefaultCollate = false;
  TvtPrintCommandHooks hooks;
  hooks.show_dialog = [](TvtPrintForm& form) {
    EXPECT_EQ(form.CopiesText, "3");
    EXPECT_FALSE(form.Collate);
    form.PageRange = TvtPrintForm::Range::CurrentPage;
    return true;
  };
  EXPECT_TRUE(RunPrintCommand(report, 1, hooks));
  ASSERT_EQ(jobs().size(), 1u);
  EXPECT_EQ(jobs()[0].settings.printer, "Laser");
  EXPECT_EQ(jobs()[0].settings.copies, 3);
  EXPECT_EQ(jobs()[0].pages.size(), 1u);

  // A bad page list is reported before anything prints.
  env.printers.clear_jobs();
  hooks.show_dialog = [](TvtPrintForm& form) {
    form.EnterPages("1,a");
    return true;
  };
  EXPECT_THROW(RunPrintCommand(report, 1, hooks), ConversionError);
  EXPECT_TRUE(jobs().empty());
}

TEST_F(PrintDialogTest, AnotherPrinterPreparesTheReportAgainForIt) {
  ASSERT_TRUE(report.PrepareReport());
  ASSERT_TRUE(report.PreparedHere);
  std::vector<std::string> calls;
  TvtPrintCommandHooks hooks;
  hooks.show_dialog = [](TvtPrintForm& form) {
    form.ChoosePrinter(1);
    return true;
  };
  hooks.detach_pages = [&] {
    calls.push_back("detach " + std::to_string(report.EMFPages.Count()));
  };
  hooks.attach_pages = [&] {
    calls.push_back("attach " + std::to_string(report.EMFPages.Count()));
  };
  EXPECT_TRUE(RunPrintCommand(report, 1, hooks));
  EXPECT_EQ(calls, (std::vector<std::string>{"detach 1", "attach 1", "detach 1", "attach 1"}));
  EXPECT_EQ(report.PrinterName, "Label");
  ASSERT_EQ(jobs().size(), 1u);
  EXPECT_EQ(jobs()[0].settings.printer, "Label");
  // The printer chosen stays chosen.
  EXPECT_EQ(printer().device(), "Label");
}

}  // namespace
}  // namespace zr
