#pragma once
// The options dialogs of the picture exports as models without a window: the scales
// (metafiles), plus monochrome and the pixel format (BMP, GIF), or quality, grey scale,
// progressive encoding and the pixel format (JPEG). A front end shows the captions and
// values, edits them and calls OkClick for its OK button.

#include <string>
#include <vector>

#include "output/image/graphic_export.h"

namespace zr {

class TOxvtBMPExport;
class TOxvtGIFExport;
class TOxvtJPEGExport;

class TOxvtGraphicExportDialog {
 public:
  // The metafile dialog ("Metafile Export Options").
  explicit TOxvtGraphicExportDialog(TOxvtGraphicExport& filter);
  virtual ~TOxvtGraphicExportDialog() = default;
  TOxvtGraphicExportDialog(const TOxvtGraphicExportDialog&) = delete;
  TOxvtGraphicExportDialog& operator=(const TOxvtGraphicExportDialog&) = delete;

  virtual void Show();
  // The scales are read as numbers; text that is none gives 1.
  virtual void OkClick();

  std::string Caption, ScaleXCaption, ScaleYCaption, OkCaption, CancelCaption;
  std::string edScaleX, edScaleY;

 protected:
  TOxvtGraphicExport& filter_;
};

// What the bitmap dialogs add: the pixel-format list in TPixelFormat order.
class TOxvtPixelFormatDialog : public TOxvtGraphicExportDialog {
 public:
  TOxvtPixelFormatDialog(TOxvtGraphicExport& filter, int caption);
  std::string PixelFormatCaption;
  std::vector<std::string> PixelFormats;
  int cbPixelFormat = pf24bit;

 protected:
  void SetPixelFormat(TPixelFormat& format) const;
};

// BMP and GIF.
class TOxvtBitmapExportDialog : public TOxvtPixelFormatDialog {
 public:
  explicit TOxvtBitmapExportDialog(TOxvtBMPExport& filter);
  explicit TOxvtBitmapExportDialog(TOxvtGIFExport& filter);
  void Show() override;
  void OkClick() override;

  std::string MonochromeCaption;
  bool chkMonochrome = false;

 private:
  bool& monochrome_;
  TPixelFormat& pixel_format_;
};

class TOxvtJPEGExportDialog : public TOxvtPixelFormatDialog {
 public:
  explicit TOxvtJPEGExportDialog(TOxvtJPEGExport& filter);
  void Show() override;
  void OkClick() override;
  // The quality edit takes digits and backspace only.
  static bool AcceptsQualityKey(char key) { return (key >= '0' && key <= '9') || key == '\b'; }

  std::string QualityCaption, QualityHint, GrayScaleCaption, ProgressiveCaption;
  std::string edQuality;
  bool chkGrayScale = false;
  bool chkProgressive = true;

 private:
  TOxvtJPEGExport& jpeg_;
};

}  // namespace zr
