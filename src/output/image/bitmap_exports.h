#pragma once
// The raster picture formats: each page drawn into a white bitmap at the display resolution,
// then written as BMP, GIF or JPEG.

#include "output/image/graphic_export.h"

namespace zr {

class Bitmap;

// Page `index` drawn into a white bitmap of width x height, as the preview draws it.
Bitmap DrawPageBitmap(TvtEMFPages& pages, int index, int width, int height);

class TOxvtBMPExport : public TOxvtGraphicExport {
 public:
  // Registers as "Bitmap File (*.bmp)".
  TOxvtBMPExport();
  bool Monochrome = false;
  TPixelFormat PixelFormat = pf24bit;

 protected:
  std::unique_ptr<TOxvtGraphicExportDialog> MakeDialog() override;
  void WritePage(TvtEMFPages& pages, int index, int width, int height, std::ostream& out) override;
};

class TOxvtGIFExport : public TOxvtGraphicExport {
 public:
  // Registers as "GIF Image File (*.gif)".
  TOxvtGIFExport();
  bool Monochrome = false;
  TPixelFormat PixelFormat = pf24bit;  // GIF holds 256 colours at most whatever is chosen

 protected:
  std::unique_ptr<TOxvtGraphicExportDialog> MakeDialog() override;
  void WritePage(TvtEMFPages& pages, int index, int width, int height, std::ostream& out) override;
};

class TOxvtJPEGExport : public TOxvtGraphicExport {
 public:
  // Registers as "JPEG Image File (*.jpg)".
  TOxvtJPEGExport();
  bool Grayscale = false;
  TPixelFormat PixelFormat = pf24bit;  // JPEG stores 24-bit colour or 8-bit grey
  bool ProgressiveEncoding = true;
  int Quality = 100;  // 1 (smallest file) to 100 (best picture)

 protected:
  std::unique_ptr<TOxvtGraphicExportDialog> MakeDialog() override;
  void WritePage(TvtEMFPages& pages, int index, int width, int height, std::ostream& out) override;
};

}  // namespace zr
