#pragma once
// Printing the prepared pages of a run (PrintReport). The print loop and printer jobs are not
// part of the control yet: printing raises a ZorelError that says why nothing was printed,
// which the run records in Log. It never reports pages as printed when they were not.

#include "engine/report/report.h"

namespace zr {

// All pages, one copy, collated, on the engine's current printer. Raises ZorelError
// "Nothing was printed: ..." naming the reason (the virtual printer is selected, or no print
// job can be run yet).
void PrintPreparedReport(TvtReport& report);

}  // namespace zr
