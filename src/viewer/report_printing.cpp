#include "viewer/report_printing.h"

namespace zr {

void PrintPreparedReport(TvtReport& report) {
  report.PrintPreparedReport("", 1, true, TvtReport::WhichPages::All);
}

}  // namespace zr
