#pragma once
// TOxvtPDFExportDialog: the document options without GIF, plus title, subject and the
// compression level.

#include <string>
#include <vector>

#include "output/document/export_dialog.h"
#include "output/pdf/pdf_deflate.h"

namespace zr {

class TOxvtPDFExport;

class TOxvtPDFExportDialog : public TOxvtExportDialog {
 public:
  explicit TOxvtPDFExportDialog(TOxvtPDFExport& filter);

  void Show() override;
  void OkClick() override;

  // The compression group follows the check box; the check box itself does not switch
  // compression (UseCompression keeps its value).
  bool CompressionGroupEnabled() const { return chkCompressDocument; }

  std::string CompressDocumentCaption, CompressionLevelCaption, PdfModeCaption;
  std::vector<std::string> PdfModes;  // Portable, Classic (TPdfMode order)
  int cbPdfMode = 0;
  bool chkCompressDocument = true;
  std::vector<std::string> CompressionLevels;  // Fastest, Normal, Maximum
  int cbCompressionLevel = cmMaxCompress;

 private:
  TOxvtPDFExport& pdf_;
};

}  // namespace zr
