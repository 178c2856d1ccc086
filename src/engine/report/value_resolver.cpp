// The report's value resolver: every name and function call met in an expression or script
// while a report is current ends here, and so does every script assignment.
#include <algorithm>
#include <string>
#include <string_view>

#include "engine/locale/locale_strings.h"
#include "engine/model/memo_view.h"
#include "engine/model/page.h"
#include "engine/model/picture_view.h"
#include "engine/model/variables.h"
#include "engine/report/report.h"
#include "engine/report/report_interpreter.h"
#include "engine/report/run_host.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/function_registry.h"
#include "platform/canvas/font_canvas.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

namespace {

std::string trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

// The text of a function argument: its source text, blanks around removed.
std::string argument_text(const Value& argument) {
  return trimmed(argument.to_string());
}

// "PAGE" + digits, in any case: the 1-based number of a form page; 0 for any other name.
int page_number(std::string_view name) {
  if (name.size() < 5 || upper_ascii(name.substr(0, 4)) != "PAGE") return 0;
  int n = 0;
  for (char c : name.substr(4)) {
    if (c < '0' || c > '9') return 0;
    n = n > 100000 ? n : n * 10 + (c - '0');
  }
  return n;
}

// Object names compare without regard to case: bare identifiers and function names reach the
// resolver upper-cased (MEMO1.HIDE).
TvtView* find_object(const TvtPages& pages, std::string_view name) {
  for (const auto& page : pages.pages())
    for (const auto& view : page->Objects)
      if (same_name(view->Name, name)) return view.get();
  return nullptr;
}

// The widest line of a memo's text in its font; the width of any other view.
int32_t calc_width(TvtGlobals& g, TvtView* view) {
  if (!view) return 0;
  auto* memo = dynamic_cast<TvtMemoView*>(view);
  if (!memo) return view->Width;
  FontSelection font;
  font.name = memo->Font.Name;
  font.height = -round_half_even_to_int(memo->Font.Size * 96.0 / 72.0);
  font.style = static_cast<uint8_t>(((memo->Font.Style & fsBold) ? kFsBold : 0) |
                                    ((memo->Font.Style & fsItalic) ? kFsItalic : 0) |
                                    ((memo->Font.Style & fsUnderline) ? kFsUnderline : 0) |
                                    ((memo->Font.Style & fsStrikeOut) ? kFsStrikeOut : 0));
  font.charset = memo->Font.Charset;
  Canvas& canvas = g.measuring_canvas;
  CanvasStateSaver saver(canvas);
  canvas.set_font(font);
  canvas.set_text_char_extra(memo->CharSpacing);
  const TvtStrings& lines = memo->ExpandedMemo.empty() ? memo->Memo : memo->ExpandedMemo;
  int32_t width = 0;
  for (const std::string& line : lines) {
    std::string text = line;
    if (!text.empty() && text.back() == kParagraphMark) text.pop_back();
    width = std::max(width, canvas.text_extent(text).width);
  }
  return width;
}

bool system_variable(TvtGlobals& g, const std::string& name, Value& value) {
  TvtRunHost* host = g.run_host;
  if (name == "VALUE") {
    value = g.CurValue;
  } else if (name == "PAGE#") {
    value = Value(int32_t{g.CurPageNo + 1});
  } else if (name == "DATE") {
    value = Value::date_time(g.ReportDate);
  } else if (name == "TIME") {
    value = Value::date_time(g.ReportTime);
  } else if (name == "LINE#" || name == "LINETHROUGH#" || name == "COLUMN#" || name == "CURRENT#") {
    value = host ? host->Counter(name) : Value(int32_t{0});
  } else if (name == "TOTALPAGES") {
    value = Value(int32_t{g.TotalPages});
  } else if (name == "CALCWIDTH") {
    value = Value(calc_width(g, g.CurView));
  } else {
    return false;
  }
  return true;
}

}  // namespace

void TvtReport::BindDictionary() {
  TvtGlobals& g = TvtGlobals::Get();
  Dictionary.SetParser(&g.GlobalParser);
  Dictionary.SetScriptVariables(&g.ScriptVariables);
}

void TvtReport::ResolveValue(const std::string& name, Value& value) {
  TvtGlobals& g = TvtGlobals::Get();
  value = Value();
  if (OnGetValue) {
    OnGetValue(name, value);
    if (!value.is_empty()) return;
    // An unanswered name goes on as 0, so it is never taken for an expression.
    value = Value(int32_t{0});
  }

  BindDictionary();
  if (!Dictionary.TryGetValue(name, value) && !system_variable(g, name, value)) {
    const int script = g.ScriptVariables.IndexOf(name);
    if (script >= 0)
      value = g.ScriptVariables.ValueAt(script);
    else
      ResolveSystemValue(name, value);
  }
  if (!value.is_empty()) return;

  if (name != g.CurName) {
    g.CurName = name;
    struct ClearMark {
      std::string& mark;
      ~ClearMark() { mark.clear(); }
    } clear{g.CurName};
    value = g.GlobalParser.Evaluate(name);
    return;
  }
  if (g.aggregates.collecting) return;

  const std::string message = LoadStr(kStrUndefinedSymbol) + " \"" + name + "\"";
  if (ShowProgress) throw ZorelError(message);
  ErrorText = message;
  (g.CurReport ? g.CurReport : this)->Terminated = true;
}

void TvtReport::ResolveSystemValue(const std::string& name, Value& value) {
  TvtGlobals& g = TvtGlobals::Get();
  TvtRunHost* host = g.run_host;
  if (name == "CURY") {
    value = Value(host ? host->CurY() : int32_t{0});
  } else if (name == "FREESPACE") {
    value = Value(host ? host->BottomLimit() - host->CurY() : int32_t{0});
  } else if (name == "FINALPASS") {
    value = Value((g.MasterReport ? g.MasterReport : this)->FinalPass);
  } else if (name == "PAGEHEIGHT") {
    value = Value(host ? host->BottomLimit() : int32_t{0});
  } else if (name == "PAGEWIDTH") {
    value = Value(host ? host->RightEdge() : int32_t{0});
  } else {
    TvtObject* object = nullptr;
    std::string property;
    if (ResolveObjectProperty(name, object, property) && object->HasProperty(property)) {
      value = object->GetProperty(property);
    } else if (int i = g.ConstantList.IndexOf(name); i >= 0) {
      value = g.ConstantList.ValueAt(i);
    }
  }
}

bool TvtReport::ResolveObjectProperty(const std::string& path, TvtObject*& object,
                                      std::string& property) {
  TvtGlobals& g = TvtGlobals::Get();
  object = g.CurView;
  property = path;
  if (size_t dot = path.find('.'); dot != std::string::npos) {
    const std::string name = path.substr(0, dot);
    if (int n = page_number(name); n > 0) {
      object = n <= Pages.Count() ? &Pages.Items(n - 1) : nullptr;
      property = path.substr(dot + 1);
    } else if (TvtView* found = find_object(Pages, name)) {
      object = found;
      property = path.substr(dot + 1);
    } else {
      // A nested property of the current view, such as Font.Name.
      if (object && object->PropRec.empty()) object->RegisterProperties();
      if (!object || !object->HasProperty(path)) object = nullptr;
    }
  }
  if (!object) return false;
  if (object->PropRec.empty()) object->RegisterProperties();
  return true;
}

void TvtReport::DispatchFunction(const std::string& name, const Value& p1, const Value& p2,
                                 const Value& p3, Value& val) {
  TvtGlobals& g = TvtGlobals::Get();
  if (DispatchToLibraries(g.functions, name, p1, p2, p3, val)) return;
  RunBuiltInFunction(name, p1, p2, p3, val);
  if (OnUserFunction) OnUserFunction(name, p1, p2, p3, val);
}

void TvtReport::RunBuiltInFunction(const std::string& name, const Value& p1, const Value& p2,
                                   const Value& p3, Value& val) {
  TvtGlobals& g = TvtGlobals::Get();
  TvtRunHost* host = g.run_host;
  if (name == "STOPREPORT") {
    (g.CurReport ? g.CurReport : this)->Terminated = true;
  } else if (name == "NEWPAGE") {
    if (host) host->NewPage();
  } else if (name == "NEWCOLUMN") {
    if (host) host->NewColumn();
  } else if (name == "SHOWBAND") {
    if (host) host->ShowBand(argument_text(p1));
  } else if (name == "INC" || name == "DEC") {
    const std::string variable = argument_text(p1);
    Value current;
    ResolveValue(variable, current);
    const Value one(int32_t{1});
    g.GlobalInterpreter->WriteVariable(variable, name == "INC" ? current + one : current - one);
  } else if (name == "SETARRAY" || name == "GETARRAY") {
    AccessArray(name == "SETARRAY", argument_text(p1), p2, p3, val);
  } else {
    TvtObject* object = nullptr;
    std::string method;
    if (ResolveObjectProperty(name, object, method)) val = object->CallMethod(method, p1, p2, p3);
  }
}

void TvtReport::AccessArray(bool set, const std::string& array, const Value& index_arg,
                            const Value& value_arg, Value& val) {
  TvtGlobals& g = TvtGlobals::Get();
  const Value index = g.GlobalParser.Evaluate(index_arg.to_string());
  const Value value = set ? g.GlobalParser.Evaluate(value_arg.to_string()) : Value();
  if (array.find('.') != std::string::npos) {
    // An indexed property of an object, such as Memo1.Lines.
    TvtObject* object = nullptr;
    std::string property;
    if (!ResolveObjectProperty(array, object, property)) return;
    const Value upper(ansi_upper(property));
    if (set)
      object->CallMethod("SETINDEXPROPERTY", upper, index, value);
    else
      val = object->CallMethod("GETINDEXPROPERTY", upper, index, Value());
    return;
  }
  const std::string index_text =
      index.is_string() ? index.raw_string() : std::to_string(index.to_int());
  const std::string key = "Arr_" + array + "_" + index_text;
  if (set) {
    g.ScriptVariables.SetVariable(key, value);
  } else {
    const int i = g.ScriptVariables.IndexOf(key);
    val = i >= 0 ? g.ScriptVariables.ValueAt(i) : Value();
  }
}

void TvtReport::WriteVariable(const std::string& name, const Value& value) {
  TvtGlobals& g = TvtGlobals::Get();
  if (int i = g.ScriptVariables.IndexOf(name); i >= 0) {
    g.ScriptVariables.SetValueAt(i, value);
    return;
  }
  if (int i = Dictionary.VariableList.IndexOf(name); i >= 0) {
    Dictionary.VariableList.SetValueAt(i, value);
    return;
  }
  const std::string upper = upper_ascii(name);
  TvtRunHost* host = g.run_host;
  if (upper == "MODALRESULT") {
    if (host && g.CurPage && g.CurPage->PageType == 1) host->SetModalResult(value.to_int());
    return;
  }
  if (upper == "CURY") {
    if (host) host->SetCurY(value.to_int());
    return;
  }
  if (upper == "PROGRESS") {
    if (host) host->ShowProgressText(value.to_string(g.format_settings));
    return;
  }
  TvtObject* object = nullptr;
  std::string property;
  if (ResolveObjectProperty(name, object, property) && object->HasProperty(property))
    object->SetProperty(property, value);
  else
    g.ScriptVariables.SetVariable(name, value);
}

void TvtReport::EnterRect(TvtStrings& memo, TvtView& view) {
  TvtGlobals& g = TvtGlobals::Get();
  // Bound views have a field name; a band without a dataset of its own leaves no data set
  // mark, and the field must load all the same.
  if (!view.FieldName.empty() && g.run_host) g.run_host->LoadBlobField(view);
  if (OnBeforePrint) OnBeforePrint(memo, view);
  LoadPictureFromUrl(view);
}

void TvtReport::LoadPictureFromUrl(TvtView& view) {
  if (auto* picture = dynamic_cast<TvtPictureView*>(&view)) picture->LoadFromUrl();
}

}  // namespace zr
