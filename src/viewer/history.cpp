#include "viewer/history.h"

#include <fstream>
#include <system_error>
#include <vector>

#include "platform/errors.h"

namespace zr {

std::string history_stamp(double now) {
  return format_date_time("yyyymmddhhnnss", now);
}

void AddToHistory(const WorkFolder& folder, TvtReport& report, const Clock& clock) {
  const std::filesystem::path history = folder.history();
  std::error_code ec;
  std::filesystem::create_directories(history, ec);
  if (ec || !std::filesystem::is_directory(history))
    throw IoError("Cannot create the history folder " + history.string() + ": " + ec.message());

  const std::string stamp = history_stamp(clock.now());
  report.SavePreparedReport(history / stamp);

  const std::filesystem::path index = history / kHistoryIndexName;
  std::ofstream out(index, std::ios::binary | std::ios::app);
  out << stamp << "\r\n";
  out.close();
  if (!out) throw IoError("Cannot write the history index " + index.string());
}

void DropHistoryFiles(const WorkFolder& folder) {
  const std::filesystem::path history = folder.history();
  std::error_code ec;
  if (!std::filesystem::is_directory(history, ec)) return;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(history, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && !name.empty() && name[0] != '.') files.push_back(entry.path());
  }
  if (ec) throw IoError("Cannot list the history folder " + history.string() + ": " + ec.message());
  for (const auto& file : files) {
    std::filesystem::remove(file, ec);
    if (ec) throw IoError("Cannot delete " + file.string() + ": " + ec.message());
  }
}

}  // namespace zr
