#pragma once
// TOxvtExportDialog: the options of the document exporters as a model without a window. A
// front end shows the captions and values, edits them, calls OkClick for its OK button and
// ends with the result; the enabling rules and the copying back live here so they are the
// same for every front end.

#include <string>
#include <vector>

#include "output/document/document_records.h"

namespace zr {

class TOxvtExportFilter;

class TOxvtExportDialog {
 public:
  explicit TOxvtExportDialog(TOxvtExportFilter& filter);
  virtual ~TOxvtExportDialog() = default;
  TOxvtExportDialog(const TOxvtExportDialog&) = delete;
  TOxvtExportDialog& operator=(const TOxvtExportDialog&) = delete;

  // The controls take the filter's values (an empty author shows the user's login name).
  virtual void Show();
  // OK: the values go back to the filter.
  virtual void OkClick();

  // The image group follows chkExportImages; the quality only matters for JPEG.
  bool ImageGroupEnabled() const { return chkExportImages; }
  bool QualityEnabled() const;
  // The quality edit takes digits and backspace only.
  static bool AcceptsQualityKey(char key) { return (key >= '0' && key <= '9') || key == '\b'; }

  // Captions (interface texts).
  std::string Caption, ExportFramesCaption, ExportImagesCaption, ImageFormatCaption, QualityCaption,
      AuthorCaption, KeywordsCaption, OkCaption, CancelCaption;
  // The labels of edTitle and edSubject, which the formats with a title show.
  std::string TitleCaption = "Title", SubjectCaption = "Subject";

  // Control values.
  bool chkExportFrames = true;
  bool chkExportImages = true;
  std::vector<std::string> ImageFormats;  // "GIF", "JPG", "BMP"
  int cbImageFormat = ifJPG;              // index into ImageFormats
  std::string edJPEGQuality;
  std::string edTitle, edSubject, edAuthor, edKeyWord;

 protected:
  TOxvtExportFilter& filter_;
  // The format the drop-down shows (its entries may have been narrowed).
  std::string SelectedFormat() const;
  void SelectFormat(TOxvtImageFormat format);
};

}  // namespace zr
