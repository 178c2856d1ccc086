#include "output/rtf/rtf_export_dialog.h"

#include <algorithm>

#include "engine/locale/locale_strings.h"
#include "output/rtf/rtf_export.h"

namespace zr {

TOxvtRTFExportDialog::TOxvtRTFExportDialog(TOxvtRTFExport& filter)
    : TOxvtExportDialog(filter),
      GraphicDataInBinaryCaption(LoadStr(kStrGraphicDataInBinary)),
      rtf_(filter) {
  Caption = LoadStr(kStrRtfOptions);
  std::erase(ImageFormats, "GIF");
}

void TOxvtRTFExportDialog::Show() {
  TOxvtExportDialog::Show();
  edTitle = rtf_.Title;
  edSubject = rtf_.Subject;
  chkGraphicDataInBinary = rtf_.GraphicDataInBinary;
}

void TOxvtRTFExportDialog::OkClick() {
  TOxvtExportDialog::OkClick();
  rtf_.Title = edTitle;
  rtf_.Subject = edSubject;
  rtf_.GraphicDataInBinary = chkGraphicDataInBinary;
}

}  // namespace zr
