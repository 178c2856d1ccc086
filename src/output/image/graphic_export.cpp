#include "output/image/graphic_export.h"

#include <filesystem>

#include "engine/model/prepared_pages.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/document/document_records.h"
#include "output/document/export_routines.h"
#include "output/image/graphic_export_dialog.h"
#include "platform/errors.h"
#include "platform/graphics/bitmap.h"
#include "platform/rounding.h"

namespace zr {

namespace {

TvtEMFPages& exported_pages() {
  TvtReport* report = TvtGlobals::Get().CurReport;
  if (!report) throw ZorelError("no report is being exported");
  return report->EMFPages;
}

}  // namespace

PictureSize PagePictureSize(int32_t page_width, int32_t page_height) {
  const int64_t width = round_half_even(ConvertToScreen(page_width));
  const int64_t height = round_half_even(ConvertToScreen(page_height));
  if (width <= 0 || height <= 0 || !Bitmap::size_allowed(width, height))
    throw ZorelError("a page of " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels cannot be drawn");
  return {static_cast<int>(width), static_cast<int>(height)};
}

TOxvtGraphicExport::TOxvtGraphicExport(std::string extension) : extension_(std::move(extension)) {
  ShowDialog = true;
}

int TOxvtGraphicExport::ShowModal() {
  if (!ShowDialog) return 1;
  std::unique_ptr<TOxvtGraphicExportDialog> dialog = MakeDialog();
  dialog->Show();
  return DialogPresenter ? DialogPresenter(*dialog) : 1;
}

std::unique_ptr<TOxvtGraphicExportDialog> TOxvtGraphicExport::MakeDialog() {
  return std::make_unique<TOxvtGraphicExportDialog>(*this);
}

void TOxvtGraphicExport::OnBeginDoc() {
  page_ = 0;
  files_.clear();
  scaled_width_ = scaled_height_ = 0;
  TvtEMFPages& pages = exported_pages();
  if (pages.Count() > 0) {
    const PrinterInfo& first = pages.PageInfo(0).PrnInfo;
    scaled_width_ = static_cast<int>(round_half_even(first.page_width * ScaleX));
    scaled_height_ = static_cast<int>(round_half_even(first.page_height * ScaleY));
  }
}

void TOxvtGraphicExport::OnBeginPage() {
  std::string name = FileName;
  if (page_ > 0) {
    const std::string folder = std::filesystem::path(FileName).parent_path().string();
    name = (folder.empty() ? "" : IncludeTrailingSeparator(folder)) +
           PageFileName(FileName, page_ + 1, extension_);
    page_file_.close();
    page_file_.clear();
    page_file_.open(name, std::ios::binary | std::ios::trunc);
    if (!page_file_) throw IoError("Cannot create file \"" + name + "\"");
  }
  files_.push_back(name);
  // A page scrolled out of the preview is not visible and would draw nothing.
  TvtPreparedPage& page = exported_pages().PageInfo(page_);
  was_visible_ = page.Visible;
  page.Visible = true;
}

void TOxvtGraphicExport::OnEndPage() {
  TvtEMFPages& pages = exported_pages();
  TvtPreparedPage& page = pages.PageInfo(page_);
  // The page gets its visible flag back also when drawing or writing fails; the drawing
  // materialised its objects, and a page nobody looks at keeps only its stream, so a long
  // report does not pile up objects.
  auto restore = [&] {
    page.Visible = was_visible_;
    if (!was_visible_) page.Page.reset();
  };
  try {
    const PictureSize size = PagePictureSize(page.PrnInfo.page_width, page.PrnInfo.page_height);
    std::ostream& out = PageStream();
    WritePage(pages, page_, size.width, size.height, out);
    out.flush();
    if (!out) throw IoError("Cannot write file \"" + files_.back() + "\"");
    if (page_ > 0) {
      page_file_.close();
      if (!page_file_) throw IoError("Cannot write file \"" + files_.back() + "\"");
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  ++page_;
}

std::ostream& TOxvtGraphicExport::PageStream() {
  if (page_ > 0) return page_file_;
  if (!Stream) throw ZorelError("no output file is open");
  return *Stream;
}

}  // namespace zr
