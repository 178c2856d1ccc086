#pragma once
// The local history of runs: every run made while History is 1 saves its prepared report as
// History/<stamp> in the work folder and appends the stamp, one CR LF line, to
// History/zHistory.dat. The stamp is the local date and time "YYYYMMDDHHMMSS"; two runs in
// the same second share a file name and write the stamp twice.

#include <filesystem>
#include <string>

#include "engine/report/report.h"
#include "platform/date_time.h"
#include "viewer/work_folder.h"

namespace zr {

inline constexpr const char* kHistoryIndexName = "zHistory.dat";

// "YYYYMMDDHHMMSS" of `now` (days, local time).
std::string history_stamp(double now);

// Saves `report`'s prepared pages (none is fine: the file is still written) and appends the
// stamp to the index. Raises IoError when the folder or a file cannot be written.
void AddToHistory(const WorkFolder& folder, TvtReport& report, const Clock& clock);

// Deletes every regular, non-hidden file of the history folder (saved reports and the
// index); nothing when there is no history folder. Raises IoError when a file cannot be
// deleted.
void DropHistoryFiles(const WorkFolder& folder);

}  // namespace zr
