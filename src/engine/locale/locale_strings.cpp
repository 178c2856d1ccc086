#include "engine/locale/locale_strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zr {

namespace {

// Sorted by number. Paper names (55008 onward) and the default bin (55435) have no text.
constexpr std::array<std::pair<int, const char*>, 89> kStrings{{
    // The preview's find dialog (preview_texts.h).
    {53000, "Find text"},
    {53001, "Text to &find"},
    {53002, "Options"},
    {53003, "&Case sensitive"},
    {53004, "Origin"},
    {53005, "&1st page"},
    {53006, "Current &page"},
    // Options dialogs of the text and CSV exports.
    {kStrTxtExportCaption, "TXT export options"},
    {kStrKillEmptyLines, "&Kill empty lines"},
    {kStrConvertToDos, "Convert to &DOS"},
    {kStrExportFrames, "Export &frames"},
    {kStrUsePseudographic, "Use DOS &pseudographic"},
    {kStrInsertPageBreaks, "Insert page &breaks"},
    {kStrScalingFactor, "Scaling factor"},
    {kStrCsvExportCaption, "CSV export options"},
    {kStrCsvDelimiter, "&CSV delimiter"},
    {kStrOk, "OK"},
    {kStrCancel, "Cancel"},
    {55004, "Page"},  // the preview's page label
    {kStrVirtualPrinter, "Virtual printer"},
    // Band type names.
    {kStrFirstBandName + 0, "Report title"},
    {kStrFirstBandName + 1, "Report summary"},
    {kStrFirstBandName + 2, "Page header"},
    {kStrFirstBandName + 3, "Page footer"},
    {kStrFirstBandName + 4, "Master header"},
    {kStrFirstBandName + 5, "Master data"},
    {kStrFirstBandName + 6, "Master footer"},
    {kStrFirstBandName + 7, "Detail header"},
    {kStrFirstBandName + 8, "Detail data"},
    {kStrFirstBandName + 9, "Detail footer"},
    {kStrFirstBandName + 10, "Subdetail header"},
    {kStrFirstBandName + 11, "Subdetail data"},
    {kStrFirstBandName + 12, "Subdetail footer"},
    {kStrFirstBandName + 13, "Overlay"},
    {kStrFirstBandName + 14, "Column header"},
    {kStrFirstBandName + 15, "Column footer"},
    {kStrFirstBandName + 16, "Group header"},
    {kStrFirstBandName + 17, "Group footer"},
    {kStrFirstBandName + 18, "Cross header"},
    {kStrFirstBandName + 19, "Cross data"},
    {kStrFirstBandName + 20, "Cross footer"},
    {kStrFirstBandName + 21, "Child"},
    {kStrFirstBandName + 22, "None"},
    // Display format patterns: booleans, dates, times.
    {kStrBooleanFormats + 0, "0;1"},
    {kStrBooleanFormats + 1, "No;Yes"},
    {kStrBooleanFormats + 2, "_;x"},
    {kStrBooleanFormats + 3, "False;True"},
    {kStrDateFormats + 0, "mm.dd.yy"},
    {kStrDateFormats + 1, "mm.dd.yyyy"},
    {kStrDateFormats + 2, "d mmm yyyy"},
    {kStrDateFormats + 3, "d mmmm yyyy"},
    {kStrTimeFormats + 0, "hh:nn:ss"},
    {kStrTimeFormats + 1, "h:nn:ss"},
    {kStrTimeFormats + 2, "hh:nn"},
    {kStrTimeFormats + 3, "h:nn"},
    // Preparation.
    {kStrFrom, "from"},
    {kStrCalcError, "An error occured during calculating"},
    {kStrReportLabel, "Report:"},
    {kStrObjectLabel, "Object:"},
    {kStrPreparingReport, "Preparing report"},
    {kStrFirstPass, "Performing 1st pass:"},
    {kStrProcessingPage, "Processing page:"},
    {kStrErrorCaption, "Error"},
    {kStrInvalidPrinter, "Printer selected is not valid"},
    {55211, "Report file"},  // the preview's open dialog
    // Export formats.
    {kStrTextFile, "ASCII Text file"},
    {kStrCsvFile, "CSV File"},
    {kStrUndefinedSymbol, "Undefined symbol"},
    // Document exports.
    {kStrPdfMode, "PDF Mode"},
    {kStrPdfPortable, "Portable (fonts embedded)"},
    {kStrPdfClassic, "Classic"},
    {kStrPdfOptions, "PDF Export Options"},
    {kStrCompressFastest, "Fastest"},
    {kStrCompressNormal, "Normal"},
    {kStrCompressMaximum, "Maximum"},
    {kStrCompressDocument, "Compress Document"},
    {kStrCompressionLevel, "Compression Level"},
    {kStrExportOptions, "Export Options"},
    {kStrDocumentExportFrames, "Export Frames"},
    {kStrExportImages, "Export Images"},
    {kStrExportImageFormat, "Export Image Format"},
    {kStrJpegQuality, "JPEG Quality"},
    {kStrAuthor, "Author"},
    {kStrKeywords, "Keywords"},
    {kStrDialogOk, "OK"},
    {kStrDialogCancel, "Cancel"},
    {kStrPdfDescription, "Adobe Acrobat Document (*.pdf)"},
    {kStrPdfExtension, "pdf"},
    {kStrDocumentCreator, "Vantor"},
}};
static_assert(std::is_sorted(kStrings.begin(), kStrings.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; }),
              "LoadStr searches the table by number");

}  // namespace

std::string LoadStr(int id) {
  auto found = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                [](const auto& entry, int key) { return entry.first < key; });
  return found != kStrings.end() && found->first == id ? found->second : "";
}

}  // namespace zr
