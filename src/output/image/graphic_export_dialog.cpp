#include "output/image/graphic_export_dialog.h"

#include <algorithm>

#include "engine/locale/locale_strings.h"
#include "output/image/bitmap_exports.h"
#include "output/text/text_export_dialog.h"

namespace zr {

TOxvtGraphicExportDialog::TOxvtGraphicExportDialog(TOxvtGraphicExport& filter)
    : Caption(LoadStr(kStrMetafileOptions)),
      ScaleXCaption(LoadStr(kStrScaleX)),
      ScaleYCaption(LoadStr(kStrScaleY)),
      OkCaption(LoadStr(kStrDialogOk)),
      CancelCaption(LoadStr(kStrDialogCancel)),
      filter_(filter) {}

void TOxvtGraphicExportDialog::Show() {
  edScaleX = FormatExportScale(filter_.ScaleX);
  edScaleY = FormatExportScale(filter_.ScaleY);
}

void TOxvtGraphicExportDialog::OkClick() {
  filter_.ScaleX = ParseExportScale(edScaleX);
  filter_.ScaleY = ParseExportScale(edScaleY);
}

TOxvtPixelFormatDialog::TOxvtPixelFormatDialog(TOxvtGraphicExport& filter, int caption)
    : TOxvtGraphicExportDialog(filter), PixelFormatCaption(LoadStr(kStrPixelFormat)) {
  Caption = LoadStr(caption);
  PixelFormats = {LoadStr(kStrPixelFormatDevice), LoadStr(kStrPixelFormat1Bit)};
  for (int i = 0; i < 7; ++i) PixelFormats.push_back(LoadStr(kStrPixelFormat4Bit + i));
}

void TOxvtPixelFormatDialog::SetPixelFormat(TPixelFormat& format) const {
  if (cbPixelFormat >= pfDevice && cbPixelFormat <= pfCustom)
    format = static_cast<TPixelFormat>(cbPixelFormat);
}

TOxvtBitmapExportDialog::TOxvtBitmapExportDialog(TOxvtBMPExport& filter)
    : TOxvtPixelFormatDialog(filter, kStrBmpOptions),
      MonochromeCaption(LoadStr(kStrMonochrome)),
      monochrome_(filter.Monochrome),
      pixel_format_(filter.PixelFormat) {}

TOxvtBitmapExportDialog::TOxvtBitmapExportDialog(TOxvtGIFExport& filter)
    : TOxvtPixelFormatDialog(filter, kStrGifOptions),
      MonochromeCaption(LoadStr(kStrMonochrome)),
      monochrome_(filter.Monochrome),
      pixel_format_(filter.PixelFormat) {}

void TOxvtBitmapExportDialog::Show() {
  TOxvtPixelFormatDialog::Show();
  chkMonochrome = monochrome_;
  cbPixelFormat = pixel_format_;
}

void TOxvtBitmapExportDialog::OkClick() {
  TOxvtPixelFormatDialog::OkClick();
  monochrome_ = chkMonochrome;
  SetPixelFormat(pixel_format_);
}

TOxvtJPEGExportDialog::TOxvtJPEGExportDialog(TOxvtJPEGExport& filter)
    : TOxvtPixelFormatDialog(filter, kStrJpegOptions),
      QualityCaption(LoadStr(kStrQuality)),
      QualityHint(LoadStr(kStrQualityHint)),
      GrayScaleCaption(LoadStr(kStrGrayScale)),
      ProgressiveCaption(LoadStr(kStrProgressiveEncoding)),
      jpeg_(filter) {}

void TOxvtJPEGExportDialog::Show() {
  TOxvtPixelFormatDialog::Show();
  edQuality = std::to_string(jpeg_.Quality);
  chkGrayScale = jpeg_.Grayscale;
  chkProgressive = jpeg_.ProgressiveEncoding;
  cbPixelFormat = jpeg_.PixelFormat;
}

void TOxvtJPEGExportDialog::OkClick() {
  TOxvtPixelFormatDialog::OkClick();
  // Only digits can be typed; an empty or overlong entry keeps the filter's value.
  if (!edQuality.empty() && edQuality.size() <= 3 &&
      std::all_of(edQuality.begin(), edQuality.end(), [](char c) { return c >= '0' && c <= '9'; }))
    jpeg_.Quality = std::clamp(std::stoi(edQuality), 1, 100);
  jpeg_.Grayscale = chkGrayScale;
  jpeg_.ProgressiveEncoding = chkProgressive;
  SetPixelFormat(jpeg_.PixelFormat);
}

}  // namespace zr
