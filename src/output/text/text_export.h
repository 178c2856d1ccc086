#pragma once
// TvtTextExport: the page as plain text. Every line of a text object lands in the row of its
// object's design-pixel top (plus the line's index); a row becomes one output line with each
// text at the column of its object's left edge, in cells of 6.5 / ScaleX pixels. Frames can
// be drawn with "|", "-" and "+" or with the box characters of the DOS code page; pages can
// end in a form feed.
//
// Call order (from TvtReport::ExportReportTo): OnBeginPage, OnText per line, OnEndPage per
// page. Only one page's records and lines are held at a time.

#include <cstdint>
#include <string>

#include "engine/model/export_filter.h"
#include "output/text/text_rows.h"

namespace zr {

class TextPageLines;
struct TextPageLine;

// Columns beyond this are not written: absurd geometry or scales must not exhaust memory.
inline constexpr int64_t kMaxTextColumn = 1 << 20;
// Rows further than this from the page top hold no text: a page is a few thousand pixel rows
// high, and rows that far off (damaged pages) would make millions of empty lines.
inline constexpr int64_t kMaxTextRow = 1 << 20;

// The 0-based column of a design-pixel position for cells of `cell_width` pixels, rounded
// half to even and limited to -1 .. kMaxTextColumn.
int64_t TextColumn(double pixels, double cell_width);

class TvtTextExport : public TvtExportFilter {
 public:
  // Registers as "ASCII Text file (*.txt)".
  TvtTextExport();

  double ScaleX = 1.0;
  double ScaleY = 1.0;  // edited in the dialog; the output does not use it
  bool KillEmptyLines = true;
  bool ConvertToOEM = false;
  bool ExportFrames = false;
  bool UsePseudographic = false;
  bool PageBreaks = true;

  // With ShowDialog: the options dialog, its edits read back whichever button closed it.
  int ShowModal() override;
  void OnBeginPage() override;
  void OnEndPage() override;
  void OnText(const Rect& draw_rect, int x, int y, const std::string& text, int frame_typ,
              int line_no, TvtView& view) override;

  // Design pixels per character cell.
  double CellWidth() const { return 6.5 / ScaleX; }
  // The records collected for the current page.
  const TvtTextRows& Lines() const { return lines_; }

 protected:
  struct NoRegistration {};
  // For derived formats: the same settings, without registering as text.
  explicit TvtTextExport(NoRegistration) {}

  void ClearLines() { lines_.Clear(); }
  // Converts `line` to the DOS code page when asked, appends CR LF and writes it to Stream.
  void WriteLine(const std::string& line);
  // Appends CR LF and writes to Stream.
  void WriteBytes(std::string bytes);

  TvtTextRows lines_;

 private:
  void DrawFrame(TextPageLines& out, int64_t& r, const TvtTextRec& rec) const;
  void WriteOutputLine(const TextPageLine& line);
};

}  // namespace zr
