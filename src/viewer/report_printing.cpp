#include "viewer/report_printing.h"

#include "engine/report/tvt_globals.h"
#include "platform/errors.h"

namespace zr {

void PrintPreparedReport(TvtReport& report) {
  const TvtPrinter& printer = TvtGlobals::Get().printer;
  const std::string pages = std::to_string(report.EMFPages.Count());
  if (printer.is_virtual())
    throw ZorelError("Nothing was printed: the virtual printer is selected (" + pages +
                     " pages prepared)");
  throw ZorelError("Nothing was printed: print jobs for \"" + printer.printer_name() +
                   "\" are not available yet (" + pages + " pages prepared)");
}

}  // namespace zr
