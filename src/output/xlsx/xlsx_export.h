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
// The filter collects a page's text objects while the report walks it and hands the page to
// a writer thread (XlsxWorkbookWriter, libxlsxwriter in constant-memory mode), so that
// walking the next page and writing this one overlap. At most a few pages wait for the
// writer: memory stays bounded however long the report is.

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/model/export_filter.h"
#include "output/xlsx/xlsx_workbook_writer.h"

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
  // Raises the writer's error (IoError) when it has failed.
  void OnEndPage() override;
  void OnEndDoc() override;

 private:
  static constexpr size_t kPagesWaiting = 4;

  void StartWriter(XlsxWorkbookSettings settings);
  void WriterLoop();
  // Waits for the writer to take every page and stop; its error is raised.
  void StopWriter();
  void RaiseWriterError();

  XlsxPage page_;
  std::map<XlsxLook, size_t> looks_;  // every look sent, by its number

  std::unique_ptr<XlsxWorkbookWriter> writer_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<XlsxPage> waiting_;  // guarded by mutex_
  bool no_more_pages_ = false;    // guarded by mutex_
  std::exception_ptr error_;      // guarded by mutex_
};

}  // namespace zr
