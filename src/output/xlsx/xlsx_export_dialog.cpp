#include "output/xlsx/xlsx_export_dialog.h"

#include "engine/locale/locale_strings.h"
#include "output/xlsx/xlsx_export.h"

namespace zr {

TOxvtXLSXExportDialog::TOxvtXLSXExportDialog(const TOxvtXLSXExport& filter)
    : Caption(LoadStr(kStrXlsxOptions)),
      TitleCaption("Title"),
      AuthorCaption(LoadStr(kStrAuthor)),
      OkCaption(LoadStr(kStrDialogOk)),
      CancelCaption(LoadStr(kStrDialogCancel)),
      chkSheetPerPage{LoadStr(kStrXlsxSheetPerPage), filter.SheetPerPage},
      chkPageBreaks{LoadStr(kStrXlsxPageBreaks), filter.PageBreaks},
      chkExportFrames{LoadStr(kStrDocumentExportFrames), filter.ExportFrames},
      edTitle{filter.Title},
      edAuthor{filter.Author} {}

void TOxvtXLSXExportDialog::OkClick(TOxvtXLSXExport& filter) const {
  filter.SheetPerPage = chkSheetPerPage.Checked;
  filter.PageBreaks = chkPageBreaks.Checked;
  filter.ExportFrames = chkExportFrames.Checked;
  filter.Title = edTitle.Text;
  filter.Author = edAuthor.Text;
}

}  // namespace zr
