#pragma once
// The engine's numbered interface texts (53000 onward), in one table. A number the table
// does not hold gives an empty text, as a missing resource string does. Texts are ANSI bytes.

#include <string>

namespace zr {

// Interface text numbers used in code.
inline constexpr int kStrTxtExportCaption = 54800;
inline constexpr int kStrKillEmptyLines = 54801;
inline constexpr int kStrConvertToDos = 54802;
inline constexpr int kStrExportFrames = 54803;
inline constexpr int kStrUsePseudographic = 54804;
inline constexpr int kStrInsertPageBreaks = 54805;
inline constexpr int kStrScalingFactor = 54806;
inline constexpr int kStrCsvExportCaption = 54810;
inline constexpr int kStrCsvDelimiter = 54811;
inline constexpr int kStrPrintDialog = 53040;  // 53040-53055: the print dialog's texts
inline constexpr int kStrOk = 55000;
inline constexpr int kStrCancel = 55001;
inline constexpr int kStrVirtualPrinter = 55007;
inline constexpr int kStrFirstPaperName = 55008;  // + row of the paper table
inline constexpr int kStrFirstBandName = 55077;   // + band type code (0-22)
inline constexpr int kStrBooleanFormats = 55170;  // four patterns "false;true"
inline constexpr int kStrDateFormats = 55175;     // four date patterns
inline constexpr int kStrTimeFormats = 55179;     // four time patterns
inline constexpr int kStrFrom = 55199;
inline constexpr int kStrCalcError = 55200;
inline constexpr int kStrReportLabel = 55201;
inline constexpr int kStrObjectLabel = 55202;
inline constexpr int kStrPreparingReport = 55203;
inline constexpr int kStrFirstPass = 55204;
inline constexpr int kStrProcessingPage = 55205;
inline constexpr int kStrErrorCaption = 55206;
inline constexpr int kStrPrintingPage = 55208;
inline constexpr int kStrUntitled = 55209;
inline constexpr int kStrInvalidPrinter = 55210;
inline constexpr int kStrTextFile = 55212;
inline constexpr int kStrCsvFile = 55219;
inline constexpr int kStrDefaultBin = 55435;
inline constexpr int kStrUndefinedSymbol = 55439;
// Document exports (PDF, HTML, RTF): options dialogs and the producer.
// Picture exports: options dialogs.
inline constexpr int kStrQuality = 64976;
inline constexpr int kStrPixelFormat = 64977;
inline constexpr int kStrQualityHint = 64978;
inline constexpr int kStrScaleX = 64979;
inline constexpr int kStrScaleY = 64980;
inline constexpr int kStrBmpOptions = 64981;
inline constexpr int kStrMonochrome = 64982;
inline constexpr int kStrGifOptions = 64983;
inline constexpr int kStrMetafileOptions = 64984;
inline constexpr int kStrFixedToPage = 64992;
inline constexpr int kStrFixedToScreen = 64993;
inline constexpr int kStrPdfMode = 64994;
inline constexpr int kStrPdfPortable = 64995;
inline constexpr int kStrPdfClassic = 64996;
inline constexpr int kStrPdfOptions = 64997;
inline constexpr int kStrCompressFastest = 64998;
inline constexpr int kStrCompressNormal = 64999;
inline constexpr int kStrCompressMaximum = 65000;
inline constexpr int kStrCompressDocument = 65001;
inline constexpr int kStrCompressionLevel = 65002;
inline constexpr int kStrRtfOptions = 65003;
inline constexpr int kStrGraphicDataInBinary = 65004;
inline constexpr int kStrJpegOptions = 65005;
inline constexpr int kStrGrayScale = 65006;
inline constexpr int kStrProgressiveEncoding = 65007;
inline constexpr int kStrHtmlOptions = 65008;      // 65008-65023: the HTML dialog's captions
inline constexpr int kStrPixelFormat4Bit = 65024;  // 65024-65030: "4 bit" ... "Custom"
inline constexpr int kStrExportOptions = 65031;
inline constexpr int kStrDocumentExportFrames = 65032;
inline constexpr int kStrExportImages = 65033;
inline constexpr int kStrExportImageFormat = 65034;
inline constexpr int kStrJpegQuality = 65035;
inline constexpr int kStrAuthor = 65036;
inline constexpr int kStrKeywords = 65037;
inline constexpr int kStrDialogOk = 65038;
inline constexpr int kStrDialogCancel = 65039;
inline constexpr int kStrPdfDescription = 65040;
inline constexpr int kStrPdfExtension = 65041;
inline constexpr int kStrRtfDescription = 65042;
inline constexpr int kStrRtfExtension = 65043;
inline constexpr int kStrBmpDescription = 65044;
inline constexpr int kStrBmpExtension = 65045;
inline constexpr int kStrJpegDescription = 65046;
inline constexpr int kStrJpegExtension = 65047;
inline constexpr int kStrGifDescription = 65048;
inline constexpr int kStrGifExtension = 65049;
inline constexpr int kStrEmfDescription = 65050;
inline constexpr int kStrEmfExtension = 65051;
inline constexpr int kStrWmfDescription = 65052;
inline constexpr int kStrWmfExtension = 65053;
inline constexpr int kStrPixelFormatDevice = 65054;
inline constexpr int kStrPixelFormat1Bit = 65055;
inline constexpr int kStrDocumentCreator = 65061;
// The navigator's default link texts (empty) and its link titles.
inline constexpr int kStrLinkTextFirst = 65062;   // 65062-65065: first, previous, next, last
inline constexpr int kStrLinkTitleFirst = 65066;  // 65066-65069: "First" ... "Last"
inline constexpr int kStrHtmlDescription = 65070;
inline constexpr int kStrHtmlExtension = 65071;
// The Excel export.
inline constexpr int kStrXlsxOptions = 65080;
inline constexpr int kStrXlsxSheetPerPage = 65081;
inline constexpr int kStrXlsxPageBreaks = 65082;
inline constexpr int kStrXlsxDescription = 65083;
inline constexpr int kStrXlsxExtension = 65084;

// The text of number `id`; "" when there is none.
std::string LoadStr(int id);

}  // namespace zr
