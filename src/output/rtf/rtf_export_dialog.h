#pragma once
// TOxvtRTFExportDialog: the document options without GIF, plus title, subject and whether
// JPEG pictures go out as raw bytes.

#include <string>

#include "output/document/export_dialog.h"

namespace zr {

class TOxvtRTFExport;

class TOxvtRTFExportDialog : public TOxvtExportDialog {
 public:
  explicit TOxvtRTFExportDialog(TOxvtRTFExport& filter);

  void Show() override;
  void OkClick() override;

  std::string GraphicDataInBinaryCaption;
  bool chkGraphicDataInBinary = false;

 private:
  TOxvtRTFExport& rtf_;
};

}  // namespace zr
