#pragma once
// TvtReport: the report component. It owns the form pages, the data dictionary and the
// prepared pages; loads and saves the report form file (.zrf) and the prepared-report file
// (.zrw); formats values for display; and resolves every name and function call met in an
// expression or script (the value resolver). The band engine and preparation build on it.
//
// Reports need the engine state (TvtGlobals) installed. Messages go to its UiServices.
// Not thread-safe; the engine works on one report at a time (TvtGlobals::CurReport).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/data_dictionary.h"
#include "engine/model/page.h"
#include "engine/model/prepared_pages.h"
#include "engine/model/view.h"
#include "engine/run/component_directory.h"
#include "engine/run/report_data_resolver.h"
#include "platform/byte_stream.h"
#include "platform/value.h"

namespace zr {

class TvtExportFilter;
class TvtBand;
class TvtBandEngine;
class TvtDataset;

enum TvtReportType { rtSimple, rtMultiple };

class TvtReport {
 public:
  explicit TvtReport(std::string name = "Report");
  virtual ~TvtReport();
  TvtReport(const TvtReport&) = delete;
  TvtReport& operator=(const TvtReport&) = delete;

  std::string Name;

  // --- Settings stored in the form ---
  std::string HeaderText1 = " ", HeaderText2 = " ";
  TvtStrings Relations;
  bool InterleavePages = false;
  bool PrintToDefault = false;
  bool TwoPass = false;
  std::string PrinterName;

  TvtPages Pages;
  TvtDataDictionary Dictionary;
  TvtEMFPages EMFPages;

  // --- Published properties ---
  bool ShowProgress = true;
  std::string Title;
  double Scale = 100;
  // What the print dialog starts with.
  int DefaultCopies = 1;
  bool DefaultCollate = true;

  // --- Events (unset by default) ---
  std::function<void(const std::string& name, Value& value)> OnGetValue;
  std::function<void(TvtStrings& memo, TvtView& view)> OnBeforePrint;
  std::function<void(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                     Value& val)>
      OnUserFunction;
  std::function<void(int page_no)> OnBeginPage;
  std::function<void(TvtView& view)> OnObjectClick;
  std::function<void(TvtView& view, int& cursor)> OnMouseOverObject;
  std::function<void()> OnBeginDoc, OnEndDoc;
  std::function<void(int page_no)> OnEndPage;
  std::function<void(TvtBand&band)> OnBeginBand, OnEndBand, OnBeginColumn;
  std::function<void(int n)> OnProgress;
  std::function<void(TvtPage& page)> OnManualBuild;
  std::function<void(int column_no, int32_t& width)> OnPrintColumn;
  std::function<void()> OnBeforeBuild;  // internal hook (cross views)
  // Fired when printing starts, after the printer took the first page's paper.
  std::function<void()> OnPrintReport;

  // --- Preparation ---
  bool PrintIfEmpty = true;
  TvtReportType ReportType = rtSimple;
  // The driving dataset in multiple mode; in simple mode the dataset of master bands that
  // name none (not owned).
  TvtDataset* Dataset = nullptr;
  // Where the report finds its datasets by name. The owner container holds the run-time
  // report datasets, client datasets and data sources ("dataset" + name).
  TvtComponentDirectory Components;
  TvtComponentContainer& OwnerContainer();
  TvtReportDataResolver DataResolver{Components};

  // Builds the prepared pages: one or two passes of the band engine over the form pages
  // (events, progress, error message afterwards). The form is saved before and reloaded
  // after, so scripts may change objects freely. False when a dialog page was cancelled or
  // the run was terminated inside the progress window. Errors of bands and objects are shown
  // as one message after the run ("Error") and leave no prepared pages.
  bool PrepareReport();
  // Records an error met while preparing (message with the current view's text, the report
  // and the object) and terminates the master report. A script stopped by the cancel of the
  // progress window is no error: it only terminates.
  void PrepareError(const std::exception& error);
  // The progress display: OnProgress, else the progress window's label. Then the window's
  // cancel is seen (CheckProgressCancel).
  void ReportProgress(int n);
  // The progress window's cancel: when the run is inside the progress window (ShowProgress
  // without OnProgress) and the user has cancelled it, terminates the report and its master
  // and returns true. Asked between pages and before every script line, so that a script
  // that never ends can be stopped too.
  bool CheckProgressCancel();
  // Switches the printer the report prepares and prints for (indexes of the printer list):
  // PrinterName takes its name and every form page applies its paper again. When that fails
  // (an index outside the list), "Printer selected is not valid" is shown, the old printer
  // is selected again and the result is false.
  bool ChangePrinter(int old_index, int new_index);
  // Walks every prepared page through `filter` into the file `file_name` (created anew):
  // OnBeforeExport (may rename or cancel), ShowModal (anything but 1 cancels), OnBeginDoc,
  // per page OnBeginPage, each object's ExportTo, OnEndPage, then OnEndDoc and, after the
  // file is closed, OnAfterExport. Pages are recreated one at a time, so memory follows the
  // page, not the report. Progress as in preparation ("Processing page:  n from total").
  // IoError when the file cannot be created or written.
  void ExportReportTo(TvtExportFilter& filter, const std::string& file_name);
  // Prints the prepared pages on the system's current printer: the pages of `page_list`
  // (PageList syntax; empty for all), `copies` times (below 1 means 1), collated or not,
  // and of those the odd or even page numbers only when `which` says so. Collated copies
  // print the whole sequence again; uncollated ones are the driver's copy count. A page
  // whose paper differs from the one before ends the job and starts another. Runs in the
  // progress window ("Printing page:"), whose cancel drops the job in progress. Raises
  // ConversionError for a bad page list before any job starts, and ZorelError when no real
  // printer is installed or the print service refuses a job.
  enum class WhichPages { All = 0, Odd = 1, Even = 2 };
  void PrintPreparedReport(const std::string& page_list, int copies, bool collate,
                           WhichPages which);
  // The band engine of the run in progress; null outside PrepareReport.
  TvtBandEngine* Engine = nullptr;

  // Where the band engine adds prepared pages: the report's own, or those of the composite
  // report it is a member of.
  TvtEMFPages& OutputPages() { return OutputTarget ? *OutputTarget : EMFPages; }
  TvtEMFPages* OutputTarget = nullptr;

  // --- Internal state ---
  // Set by a composite report when its next member continues on this report's last page.
  bool ContinueToNext = false;
  bool FinalPass = false;
  bool Terminated = false;
  std::string ErrorText;
  bool PreparedHere = false;
  bool DialogCancelled = false;
  std::string ProgressCaption, ProgressStage;
  TvtExportFilter* ExportFilter = nullptr;  // the filter of the export in progress

  // --- The form file ---
  // What reading a form came to, for hosts and tools that must not go on with a form that
  // did not load. `reason` is empty when `loaded`.
  struct FormLoadResult {
    bool loaded = true;
    std::string reason;  // "empty", "unsupported format", "damaged at offset N: ..."
  };
  // Reads a whole form. Failures are shown as messages ("Unsupported VTF format", missing
  // add-in classes) and leave the report as the file format says; nothing is raised. An
  // empty stream leaves the report empty without a message. A form whose add-in classes are
  // missing counts as loaded.
  FormLoadResult LoadFromStream(ByteReader& stream);
  void SaveToStream(ByteWriter& stream);
  // Empties form pages and dictionary; clears TwoPass.
  void ClearReport();
  void ClearGlobalVariables();

  // --- The prepared-report file; IoError when the file cannot be opened or written,
  // FormatError when it is truncated ---
  void LoadPreparedReport(const std::filesystem::path& path);
  void SavePreparedReport(const std::filesystem::path& path);

  // The first object of that name over all form pages; null when there is none.
  TvtView* FindObject(std::string_view name) const;

  // --- Display text ---
  // The display text of a bracketed expression in the current view's DisplayFormat and
  // FormatText, or in an inline format after " #": "N0.00" (or "0.00") fixed decimals,
  // "N#,##0.00" a number picture, the last of "," "-" "." being the decimal separator;
  // "Ddd.mm.yyyy" / "T..." a date-time pattern; "BNo;Yes" a boolean; anything else a custom
  // string in the view's category. The value becomes the engine's CurValue (VALUE); a memo
  // with HideZeros shows a numeric 0 as nothing; while bands are linked nothing is formatted
  // (empty text). Errors of the evaluation propagate.
  std::string FormatExpressionValue(const std::string& expression);
  // A value in a display format code: bits 24-27 category (0 text, 1 number, 2 date, 3 time,
  // 4 boolean), 16-23 variant (4 = `format_text` is the pattern; numbers: 5 Hanja, 6
  // Hangul), 8-15 decimals, 0-7 the decimal separator (0 keeps the locale's), which the
  // engine's FormatSettings carry for the call. Empty, null and blank texts show nothing.
  // Never raises: a failed conversion gives the value's plain text.
  static std::string FormatValue(const Value& value, int32_t format,
                                 const std::string& format_text);

  // --- Value resolution (the parser's and interpreter's callbacks) ---
  // The value of a name (bracketed names as written, bare identifiers upper-cased), tried in
  // order: OnGetValue (its answer ends the search; a value it leaves empty becomes 0 and the
  // search goes on, so such a name is never evaluated as an expression), the dictionary, the system
  // variables VALUE, PAGE#, DATE, TIME, LINE#, LINETHROUGH#, COLUMN#, CURRENT#, TOTALPAGES,
  // CALCWIDTH (names compared exactly), the script variables, ResolveSystemValue, and last the name
  // evaluated as an expression by the shared parser. A name met again while it is being evaluated
  // is undefined: with ShowProgress ZorelError "Undefined symbol \"NAME\"" is raised, otherwise
  // that text goes to ErrorText and the current report is terminated (the value stays empty). While
  // aggregates are collected an undefined name stays empty quietly. Evaluation errors
  // propagate.
  virtual void ResolveValue(const std::string& name, Value& value);
  // CURY, FREESPACE, PAGEHEIGHT, PAGEWIDTH (0 without a running page), FINALPASS, an object
  // property, a named constant; leaves `value` as it is for anything else.
  virtual void ResolveSystemValue(const std::string& name, Value& value);
  // The object a path addresses and the property name left: "Memo1.Left" -> Memo1, "Left";
  // "Page2.Visible" -> form page 2 (any case, 1-based), "Visible"; a name without a dot, or
  // a nested property such as "Font.Name" of no object of that name, -> the current view
  // and the whole path. Builds the object's property table when it is empty. False (and a
  // null object) when no object is addressed; whether it has the property is the caller's
  // test (HasProperty), since methods are not in the table.
  bool ResolveObjectProperty(const std::string& path, TvtObject*& object, std::string& property);
  // A function call with the upper-case name and the argument source texts. `val` starts as
  // "0"; the registered libraries come first, then STOPREPORT, NEWPAGE, NEWCOLUMN,
  // SHOWBAND(name), INC(name), DEC(name), SETARRAY(name, index, value), GETARRAY(name,
  // index) and object methods (Memo1.Hide); OnUserFunction is called after them whenever no
  // library served the name. SETARRAY/GETARRAY keep plain arrays in the script variables
  // under "Arr_" + name + "_" + index. Evaluation errors propagate.
  virtual void DispatchFunction(const std::string& name, const Value& p1, const Value& p2,
                                const Value& p3, Value& val);
  // The interpreter's write of `name := value`: an existing script variable, else a
  // dictionary variable, else MODALRESULT / CURY / PROGRESS (any case) for the running band
  // engine, else an object property, else a new script variable.
  virtual void WriteVariable(const std::string& name, const Value& value);
  // Run while a view writes itself into a prepared page: blob field, the before-print
  // event, a picture's address.
  virtual void EnterRect(TvtStrings& memo, TvtView& view);
  // Before each pass: every grid view of the form adds its bands and memos (views the
  // expansion adds are not visited). Raises what a grid's description raises.
  void ExpandGrids();

 protected:
  friend class TvtCompositeReport;
  // The build of one pass (BuildReport).
  virtual void BuildReport();
  // Around the run: the form is saved and OnBeginDoc called before, OnEndDoc called and the
  // form reloaded after, so that scripts may change objects freely.
  virtual void BeginDocument();
  virtual void EndDocument();
  // Reloads the form from a copy that SaveToStream made.
  void RestoreForm(const std::string& form);
  // The progress window's caption: "Preparing report", and " - " and the title when set.
  std::string PreparingCaption() const;
  // What every report needs before its pages are built: band alignments, the dictionary's
  // data resolver, the owner container.
  void ReadyForRun();

 private:
  ByteWriter saved_form_;
  void RunPasses();
  void FormLoop();
  // Dialog pages run their scripts (headless); a script's MODALRESULT of mrCancel cancels.
  bool RunDialogPages();
  // The form's PrinterName, when installed, unless PrintToDefault.
  void SelectNamedPrinter();
  void InterleavePreparedPages();
  bool SecondPass() const;

  // Points the dictionary at the engine's parser and script variables.
  void BindDictionary();
  void RunBuiltInFunction(const std::string& name, const Value& p1, const Value& p2,
                          const Value& p3, Value& val);
  // SETARRAY (`set`) and GETARRAY; the index and value arguments are source texts.
  void AccessArray(bool set, const std::string& array, const Value& index_arg,
                   const Value& value_arg, Value& val);
  void LoadPictureFromUrl(TvtView& view);
};

}  // namespace zr
