#pragma once
// TOxvtXLSXExportDialog: the Excel export's options as a model without a window: one
// worksheet per page, page breaks (only with one worksheet), frames, title and author.

#include <string>

#include "output/text/text_export_dialog.h"

namespace zr {

class TOxvtXLSXExport;

class TOxvtXLSXExportDialog {
 public:
  // Captions from the interface texts, values from `filter`.
  explicit TOxvtXLSXExportDialog(const TOxvtXLSXExport& filter);

  std::string Caption, TitleCaption, AuthorCaption, OkCaption, CancelCaption;
  TvtDialogCheckBox chkSheetPerPage;
  TvtDialogCheckBox chkPageBreaks;
  TvtDialogCheckBox chkExportFrames;
  TvtDialogEdit edTitle, edAuthor;

  // Page breaks divide a single worksheet; with one per page there is nothing to divide.
  bool PageBreaksEnabled() const { return !chkSheetPerPage.Checked; }
  // OK: the values go back to the filter.
  void OkClick(TOxvtXLSXExport& filter) const;
};

}  // namespace zr
