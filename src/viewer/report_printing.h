#pragma once
// Printing the prepared pages of a run (PrintReport): every page, one copy, collated, on the
// printer the report prepared for (the form's printer when installed, else the default).

#include "engine/report/report.h"

namespace zr {

// Raises ZorelError "Nothing was printed: ..." when no real printer is installed or the print
// server does not answer, and the print service's reason when it refuses the job.
void PrintPreparedReport(TvtReport& report);

}  // namespace zr
