#include "output/pdf/pdf_export_dialog.h"

#include <algorithm>

#include "engine/locale/locale_strings.h"
#include "output/pdf/pdf_export.h"

namespace zr {

TOxvtPDFExportDialog::TOxvtPDFExportDialog(TOxvtPDFExport& filter)
    : TOxvtExportDialog(filter),
      CompressDocumentCaption(LoadStr(kStrCompressDocument)),
      CompressionLevelCaption(LoadStr(kStrCompressionLevel)),
      PdfModeCaption(LoadStr(kStrPdfMode)),
      PdfModes{LoadStr(kStrPdfPortable), LoadStr(kStrPdfClassic)},
      CompressionLevels{LoadStr(kStrCompressFastest), LoadStr(kStrCompressNormal),
                        LoadStr(kStrCompressMaximum)},
      pdf_(filter) {
  Caption = LoadStr(kStrPdfOptions);
  std::erase(ImageFormats, "GIF");
}

void TOxvtPDFExportDialog::Show() {
  TOxvtExportDialog::Show();
  edTitle = pdf_.Title;
  edSubject = pdf_.Subject;
  cbCompressionLevel = pdf_.CompressionMethod;
  cbPdfMode = pdf_.PdfMode;
}

void TOxvtPDFExportDialog::OkClick() {
  TOxvtExportDialog::OkClick();
  pdf_.Title = edTitle;
  pdf_.Subject = edSubject;
  if (cbCompressionLevel >= cmFastest && cbCompressionLevel <= cmMaxCompress)
    pdf_.CompressionMethod = static_cast<TPDFCompressionMethod>(cbCompressionLevel);
  if (cbPdfMode == pmPortable || cbPdfMode == pmClassic)
    pdf_.PdfMode = static_cast<TPdfMode>(cbPdfMode);
}

}  // namespace zr
