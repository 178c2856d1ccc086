// The CSV export: one line per row of a page that holds text.
#include "output/text/csv_export.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/locale/locale_strings.h"
#include "output/text/text_export_dialog.h"

namespace zr {

namespace {

// The position as the system formats it for sorting ("%5.5d": "00065", "-00003").
std::string ColumnKey(int32_t x) {
  char buffer[16];
  if (x < 0)
    std::snprintf(buffer, sizeof buffer, "-%05u", 0u - static_cast<uint32_t>(x));
  else
    std::snprintf(buffer, sizeof buffer, "%05d", x);
  return buffer;
}

bool RowHasText(const TvtTextRows::Row& records) {
  return std::any_of(records.begin(), records.end(),
                     [](const TvtTextRec& rec) { return !rec.Text.empty(); });
}

}  // namespace

TvtCSVExport::TvtCSVExport() : TvtTextExport(NoRegistration{}) {
  ShowDialog = true;
  ScaleX = ScaleY = 1.0;
  KillEmptyLines = true;
  ConvertToOEM = false;
  RegisterFilter(LoadStr(kStrCsvFile) + " (*.csv)", "*.csv");
}

int TvtCSVExport::ShowModal() {
  if (!ShowDialog) return kModalOk;
  TvtCSVExportForm form(*this);
  const int result = form.ShowModal();
  form.ReadBack(*this);
  return result;
}

void TvtCSVExport::OnEndPage() {
  std::vector<std::string> columns;
  for (const auto& [row, records] : lines_.Rows())
    if (RowHasText(records))
      for (const TvtTextRec& rec : records) columns.push_back(ColumnKey(rec.X));
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());

  for (const auto& [row, records] : lines_.Rows()) {
    if (!RowHasText(records)) continue;
    std::string line;
    int64_t prev = -1;
    for (const TvtTextRec& rec : records) {
      const auto column = static_cast<int64_t>(
          std::lower_bound(columns.begin(), columns.end(), ColumnKey(rec.X)) - columns.begin());
      if (column > prev) line.append(static_cast<size_t>(column - prev), Delimiter);
      if (line.empty() || line.back() != Delimiter) line += Delimiter;
      line += '"' + rec.Text + '"';
      prev = column;
    }
    WriteLine(line);
  }
  ClearLines();
}

}  // namespace zr
