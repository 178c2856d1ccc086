#pragma once
// TOxvtXLSXExport: the prepared report as an Excel workbook. The text objects of every page
// are laid on a cell grid (xlsx_grid.h) with their fonts, fills, borders and alignment;
// texts that read as numbers or dates in the report's notation become numbers and dates
// with a number format of the same look (xlsx_cell_value.h). Pictures, lines, shapes and
// barcodes are not exported: a worksheet holds values.
//
// One worksheet for the whole report ("Report"; the grid comes from the first page with
// text) or one per page ("Page 1", "Page 2", ...; each page its own grid). With PageBreaks a
// single worksheet breaks its printout where each report page begins.
//
// The workbook is written in libxlsxwriter's constant-memory mode: each row goes to a
// temporary file as soon as it is complete, so a report of any length needs the memory of
// one page. The finished file is copied into the export's stream.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/export_filter.h"
#include "output/xlsx/xlsx_grid.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace zr {

class TOxvtXLSXExportDialog;

class TOxvtXLSXExport : public TvtExportFilter {
 public:
  // Registers as "Excel Workbook (*.xlsx)".
  TOxvtXLSXExport();
  ~TOxvtXLSXExport() override;

  bool SheetPerPage = false;
  bool PageBreaks = false;
  bool ExportFrames = true;
  std::string Title, Author;

  // Presents the options dialog and returns its result (1 = OK). Without one the dialog
  // closes with OK and changes nothing: headless runs never block.
  std::function<int(TOxvtXLSXExportDialog&)> DialogPresenter;

  int ShowModal() override;
  void OnBeginDoc() override;
  void OnBeginPage() override;
  void OnData(int x, int y, TvtView& view) override;
  void OnEndPage() override;
  void OnEndDoc() override;

  // One text object of the page, as collected.
  struct Item {
    XlsxGridItem place;
    std::string text;        // UTF-8
    std::string format_key;  // the object's look without the number format
    int32_t alignment = 0;
  };

 private:
  struct Workbook;
  // What a cell shows besides its number format.
  struct Look {
    std::string font_name;  // UTF-8
    int32_t font_size = 10;
    uint16_t font_style = 0;
    int32_t font_color = 0;
    int32_t alignment = 0;
    bool wrap = false;
    uint16_t frame_typ = 0;
    float frame_width = 1;
    int32_t frame_color = 0;
    uint16_t frame_style = 0;
    int32_t fill_color = 0x1FFFFFFF;  // no fill
  };
  void StartSheet(const std::string& name);
  void FinishSheet();
  void WriteLayout(const XlsxColumnGrid::Layout& layout);
  lxw_format* Format(const std::string& key, const std::string& num_format);

  std::unique_ptr<Workbook> book_;
  std::map<std::string, Look> look_;
  std::vector<Item> items_;
  XlsxColumnGrid grid_;
  lxw_worksheet* sheet_ = nullptr;
  int next_row_ = 0;
  int page_ = 0;
  int sheet_count_ = 0;           // further worksheets of a single-sheet export that overflowed
  std::vector<unsigned> breaks_;  // rows where a page begins (one worksheet)
};

}  // namespace zr
