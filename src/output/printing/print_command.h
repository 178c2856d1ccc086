#pragma once
// The preview's print command (PrintBtnClick): the print dialog, a change of printer (which
// prepares the report again for the new printer's papers), then printing.

#include <functional>

#include "engine/report/report.h"
#include "output/printing/print_dialog.h"

namespace zr {

struct TvtPrintCommandHooks {
  // Shows the dialog modally; true when it was closed with OK. Required.
  std::function<bool(TvtPrintForm&)> show_dialog;
  // The preview drops its pages before the report prepares again; and shows them again
  // after preparing and after printing. Optional.
  std::function<void()> detach_pages;
  std::function<void()> attach_pages;
};

// Prints `report`'s pages as the user chooses; `current_page` (1-based) is the page shown.
// Does nothing without pages or without a system printer, when the dialog is cancelled or
// the new printer is not valid. Returns whether the pages were handed to printing. Errors of
// printing (a bad page list or copies text, a refused job) propagate.
bool RunPrintCommand(TvtReport& report, int current_page, const TvtPrintCommandHooks& hooks);

}  // namespace zr
