#pragma once
// The print dialog (TvtPrintForm) as a model: its captions, the printer choice over the
// system's printers, the page range, copies with their up and down buttons, collation and
// which pages. A window toolkit shows it and calls these operations for the user's clicks;
// tests drive it directly. Texts are ANSI.
//
// The printer list is the engine printer's system printers (never the virtual printer);
// choosing one selects it on the engine printer at once, and closing without OK selects the
// remembered printer again. Single-threaded.

#include <functional>
#include <string>
#include <vector>

#include "engine/report/report.h"
#include "platform/canvas/geometry.h"

namespace zr {

class TvtPrinter;
struct DeviceMode;

// What the dialog hands to printing when closed with OK.
struct TvtPrintRequest {
  std::string PageList;  // "" for all pages
  int Copies = 1;
  bool Collate = true;
  TvtReport::WhichPages Which = TvtReport::WhichPages::All;
};

class TvtPrintForm {
 public:
  enum class Range { All, CurrentPage, Pages };

  // Lists the system printers of `printer` and starts at the current one, which it
  // remembers. `copies` and `collate` are the report's defaults.
  TvtPrintForm(TvtPrinter& printer, int copies, bool collate);

  // Captions: the window, its groups, buttons, labels and the which-pages items.
  std::string Caption, PrinterGroup, PropertiesCaption, CopiesGroup, PagesGroup, AllCaption,
      CurrentPageCaption, PagesCaption, PagesHint, NameLabel, CopiesLabel, CollateCaption,
      OkCaption, CancelCaption;
  std::vector<std::string> WhichItems;  // "All pages", "Odd pages", "Even pages"

  // CB1: the printers and the chosen one.
  const std::vector<std::string>& Printers() const { return printers_; }
  int PrinterIndex() const { return printer_index_; }
  // Chooses entry `index`, selecting it on the engine printer (SetPrinterIndex).
  void ChoosePrinter(int index);
  // PropButton: the options of the printer shown (`dialog` edits a copy of its mode). The
  // engine printer may still be on the virtual printer (a form laid out for it): the printer
  // shown is selected on it first. False when nothing was changed.
  bool Properties(const std::function<bool(DeviceMode&)>& dialog);

  // The page range: RB1, RB2, RB3 with the edit E2. Typing into E2 checks RB3.
  Range PageRange = Range::All;
  const std::string& PagesText() const { return pages_text_; }
  void EnterPages(std::string text);

  // E1 and its buttons: up adds one, down takes one away but never below 1. Buttons leave a
  // text that is not a number as it is; OK then reports it.
  std::string CopiesText;
  void CopiesUp();
  void CopiesDown();

  // CollateCB; a click on its label toggles it.
  bool Collate = true;
  void ClickCollateLabel() { Collate = !Collate; }
  // What PB1 shows: the collated picture (74 x 53 at 8, 0) or the uncollated one (92 x 40 at
  // 0, 8).
  struct CollatePicture {
    bool collated;
    Rect bounds;
  };
  CollatePicture Picture() const;

  // CB2: the index of WhichItems.
  int WhichIndex = 0;

  // Closes with OK: the request for printing, `current_page` standing for "Current page".
  // Raises ConversionError when the copies text is not a number.
  TvtPrintRequest Accept(int current_page) const;
  // Closes without OK: the remembered printer is selected again, and the engine printer is
  // left as the dialog found it (also when that was the virtual printer).
  void Cancel();
  // The printer index the dialog started at.
  int RememberedPrinter() const { return remembered_; }

 private:
  TvtPrinter& printer_;
  std::vector<std::string> printers_;
  int printer_index_ = -1;
  int remembered_ = -1;
  int engine_remembered_ = -1;  // the engine printer's entry, the virtual printer included
  std::string pages_text_;
};

}  // namespace zr
