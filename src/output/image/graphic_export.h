#pragma once
// TOxvtGraphicExport: the base of the picture formats (BMP, JPEG, GIF, EMF, WMF). Every
// prepared page becomes one picture file: the first page goes to the file the report opened,
// page n (n >= 2) to "<base>000n.<ext>" beside it. Each format draws the whole page at the
// page end; the per-object and per-text calls are not used.

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/export_filter.h"

namespace zr {

class TvtEMFPages;
class TOxvtGraphicExportDialog;

// The bitmap depths offered by the options dialogs, in their list order.
enum TPixelFormat : uint8_t {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};

class TOxvtGraphicExport : public TvtExportFilter {
 public:
  double ScaleX = 1.0;
  double ScaleY = 1.0;

  // Presents the options dialog and returns its result (1 = OK); without one, ShowModal
  // answers 1 and changes nothing: headless runs never block.
  std::function<int(TOxvtGraphicExportDialog&)> DialogPresenter;

  int ShowModal() override;
  void OnBeginDoc() override;
  void OnBeginPage() override;
  void OnEndPage() override;

  // The files the last export wrote, the report's file first; kept until the next export.
  const std::vector<std::string>& FilesWritten() const { return files_; }
  // The first page's size times the scales, taken at document start. The pictures keep
  // their own size: the scales are offered in the dialogs and remembered, nothing more.
  int ScaledWidth() const { return scaled_width_; }
  int ScaledHeight() const { return scaled_height_; }
  // "bmp", "jpg", ...: the extension of the page files after the first.
  const std::string& Extension() const { return extension_; }

 protected:
  explicit TOxvtGraphicExport(std::string extension);

  // The format's options dialog; the metafile one (the scales) unless overridden.
  virtual std::unique_ptr<TOxvtGraphicExportDialog> MakeDialog();

  // Draws page `index` of `pages` whole into a picture of width x height and writes the
  // picture's file to `out`.
  virtual void WritePage(TvtEMFPages& pages, int index, int width, int height,
                         std::ostream& out) = 0;

 private:
  std::ostream& PageStream();

  std::string extension_;
  int page_ = 0;
  int scaled_width_ = 0, scaled_height_ = 0;
  bool was_visible_ = false;
  std::vector<std::string> files_;
  std::ofstream page_file_;  // pages after the first
};

// The pixel size of a page of `page_width` x `page_height` design pixels at the display
// resolution. Raises ZorelError for a page without a size or too large to draw.
struct PictureSize {
  int width = 0, height = 0;
};
PictureSize PagePictureSize(int32_t page_width, int32_t page_height);

}  // namespace zr
