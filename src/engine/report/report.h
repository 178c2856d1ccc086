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
#include "platform/byte_stream.h"
#include "platform/value.h"

namespace zr {

class TvtExportFilter;

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

  // --- Events (unset by default) ---
  std::function<void(const std::string& name, Value& value)> OnGetValue;
  std::function<void(TvtStrings& memo, TvtView& view)> OnBeforePrint;
  std::function<void(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                     Value& val)>
      OnUserFunction;
  std::function<void(int page_no)> OnBeginPage;
  std::function<void(TvtView& view)> OnObjectClick;
  std::function<void(TvtView& view, int& cursor)> OnMouseOverObject;

  // --- Internal state ---
  bool FinalPass = false;
  bool Terminated = false;
  std::string ErrorText;
  bool PreparedHere = false;
  TvtExportFilter* ExportFilter = nullptr;  // the filter of the export in progress

  // --- The form file ---
  // Reads a whole form. Failures are shown as messages ("Unsupported VTF format", missing
  // add-in classes) and leave the report as the file format says; nothing is raised.
  void LoadFromStream(ByteReader& stream);
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
  // The value of an expression (with an optional inline format after " #") as display text
  // in the current view's format.
  std::string FormatExpressionValue(const std::string& expression);
  // A value in a display format code (category, variant, decimals, separator) with its
  // custom format string. Never raises: a failed conversion gives the value's plain text.
  std::string FormatValue(const Value& value, int32_t format, const std::string& format_text);

  // --- Value resolution (the parser's and interpreter's callbacks) ---
  virtual void ResolveValue(const std::string& name, Value& value);
  virtual void ResolveSystemValue(const std::string& name, Value& value);
  // The object and property a path names; false when none has it.
  bool ResolveObjectProperty(const std::string& path, TvtObject*& object, std::string& property);
  virtual void DispatchFunction(const std::string& name, const Value& p1, const Value& p2,
                                const Value& p3, Value& val);
  // The interpreter's write of `name := value`.
  virtual void WriteVariable(const std::string& name, const Value& value);
  // Run while a view writes itself into a prepared page: blob field, the before-print
  // event, a picture's address.
  virtual void EnterRect(TvtStrings& memo, TvtView& view);
};

}  // namespace zr
