#include "output/printing/print_command.h"

#include "engine/report/tvt_globals.h"

namespace zr {

bool RunPrintCommand(TvtReport& report, int current_page, const TvtPrintCommandHooks& hooks) {
  TvtPrinter& printer = TvtGlobals::Get().printer;
  if (report.EMFPages.Count() == 0 || printer.system_printer().Printers().empty()) return false;
  const int old_index = printer.system_printer().PrinterIndex();
  TvtPrintForm dialog(printer, report.DefaultCopies, report.DefaultCollate);
  if (!hooks.show_dialog(dialog)) {
    dialog.Cancel();
    return false;
  }
  const TvtPrintRequest request = dialog.Accept(current_page);
  if (dialog.PrinterIndex() != old_index && report.PreparedHere) {
    if (!report.ChangePrinter(old_index, dialog.PrinterIndex())) return false;
    if (hooks.detach_pages) hooks.detach_pages();
    report.EMFPages.Clear();
    report.PrepareReport();
    if (hooks.attach_pages) hooks.attach_pages();
  }
  if (hooks.detach_pages) hooks.detach_pages();
  report.PrintPreparedReport(request.PageList, request.Copies, request.Collate, request.Which);
  if (hooks.attach_pages) hooks.attach_pages();
  return true;
}

}  // namespace zr
