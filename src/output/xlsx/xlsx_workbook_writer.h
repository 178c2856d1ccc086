#pragma once
// XlsxWorkbookWriter: the Excel export's writing side. It takes the text objects of one
// page after another, lays them on the cell grid (xlsx_grid.h) and writes them into a
// libxlsxwriter workbook in constant-memory mode: each row goes to a temporary file as soon
// as it is complete, so any number of pages needs the memory of one. Finish writes the
// workbook and copies it into a stream.
//
// It touches no engine state, so it can run on a thread of its own while the report's pages
// are walked (TOxvtXLSXExport does that); one thread at a time.

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "output/xlsx/xlsx_grid.h"
#include "platform/format_settings.h"

struct lxw_worksheet;
struct lxw_format;

namespace zr {

// What a cell shows besides its number format. Pages repeat a few looks over and over; each
// distinct one is sent once.
struct XlsxLook {
  std::string font_name;  // ANSI
  int32_t font_size = 10;
  uint16_t font_style = 0;  // the memo's fs* bits
  int32_t font_color = 0;
  int32_t alignment = 0;  // the memo's alignment code
  bool wrap = false;
  uint16_t frame_typ = 0;
  float frame_width = 1;
  int32_t frame_color = 0;
  uint16_t frame_style = 0;
  int32_t fill_color = 0x1FFFFFFF;  // no fill

  auto operator<=>(const XlsxLook&) const = default;
};

// A text object of a page.
struct XlsxItem {
  XlsxGridItem place;  // place.index is the item's index in the page
  std::string text;    // ANSI, lines joined by line feeds
  size_t look = 0;     // the number of its look, in the order the looks were sent
};

struct XlsxPage {
  std::vector<XlsxLook> new_looks;  // looks first used on this page, numbered on
  std::vector<XlsxItem> items;
};

struct XlsxWorkbookSettings {
  bool sheet_per_page = false;
  bool page_breaks = false;
  std::string title, author;  // ANSI
  int code_page = 949;
  FormatSettings format_settings;  // the report's notation of numbers and dates
};

class XlsxWorkbookWriter {
 public:
  // Starts the workbook in a temporary file of TMPDIR; raises IoError when that fails.
  explicit XlsxWorkbookWriter(XlsxWorkbookSettings settings);
  ~XlsxWorkbookWriter();
  XlsxWorkbookWriter(const XlsxWorkbookWriter&) = delete;
  XlsxWorkbookWriter& operator=(const XlsxWorkbookWriter&) = delete;

  // Raises IoError when the library refuses a cell.
  void AddPage(const XlsxPage& page);
  // Writes the workbook and copies it into `out`; the writer is done afterwards.
  void Finish(std::ostream& out);

 private:
  struct Workbook;
  void StartSheet(const std::string& name);
  void FinishSheet();
  void WriteLayout(const XlsxPage& page, const XlsxColumnGrid::Layout& layout);
  lxw_format* Format(size_t look, const std::string& num_format);

  XlsxWorkbookSettings settings_;
  std::unique_ptr<Workbook> book_;
  std::vector<XlsxLook> looks_;
  std::vector<std::map<std::string, lxw_format*>> formats_;  // per look, by number format
  XlsxColumnGrid grid_;
  lxw_worksheet* sheet_ = nullptr;
  int next_row_ = 0;
  int page_ = 0;
  int sheet_count_ = 0;           // worksheets of a single-sheet export (it may overflow)
  std::vector<unsigned> breaks_;  // rows where a page begins (one worksheet)
};

}  // namespace zr
