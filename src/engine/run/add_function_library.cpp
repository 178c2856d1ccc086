#include "engine/run/add_function_library.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/run/calendar_shift.h"
#include "engine/run/word_scan.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/format_text.h"
#include "platform/number_text.h"
#include "platform/text_limit.h"
#include "platform/text_lines.h"

namespace zr {
namespace {

enum Fn {
  kChr,
  kCompareStr,
  kCreateDate,
  kCreateNum,
  kCreateStr,
  kDateDiff,
  kDateToStr,
  kDaysPerMonth,
  kDelete,
  kEndPos,
  kExtractWord,
  kFirstDayOfNextMonth,
  kFirstDayOfPrevMonth,
  kIncDate,
  kIncDay,
  kIncMonth,
  kIncTime,
  kIncYear,
  kInsert,
  kIsLeapYear,
  kIsRangeDate,
  kIsRangeNum,
  kIsWordPresent,
  kLastDayOfPrevMonth,
  kLeftCopy,
  kNPos,
  kPadCenter,
  kPadLeft,
  kPadRight,
  kReplaceStr,
  kReplicate,
  kRightCopy,
  kStrToDateDef,
  kStrToFloat,
  kStrToFloatDef,
  kStrToInt,
  kStrToIntDef,
  kSwap,
  kTimeToStr,
  kTrimLeft,
  kTrimRight,
  kValidDate,
  kValidFloat,
  kValidInt,
  kWordCount,
  kWordPosition,
  kFormatInt,
};

// Description groups: category text number and the names, in the order of the description
// texts (55801 on).
struct Group {
  int category;
  std::vector<const char*> names;
};

const std::vector<Group>& description_groups() {
  static const std::vector<Group> groups = {
      {55351,
       {"CHR", "COMPARESTR", "DELETE", "ENDPOS", "EXTRACTWORD", "INSERT", "ISWORDPRESENT",
        "LEFTCOPY", "NPOS", "PADCENTER", "PADLEFT", "PADRIGHT", "REPLACESTR", "REPLICATE",
        "RIGHTCOPY", "TRIMLEFT", "TRIMRIGHT", "WORDCOUNT", "WORDPOSITION"}},
      {55353,
       {"ISRANGENUM", "STRTOFLOAT", "STRTOFLOATDEF", "STRTOINT", "STRTOINTDEF", "VALIDFLOAT",
        "VALIDINT"}},
      {55350,
       {"DATEDIFF", "DATETOSTR", "DAYSPERMONTH", "FIRSTDAYOFNEXTMONTH", "FIRSTDAYOFPREVMONTH",
        "INCDATE", "INCDAY", "INCMONTH", "INCTIME", "INCYEAR", "ISLEAPYEAR", "ISRANGEDATE",
        "LASTDAYOFPREVMONTH", "STRTODATEDEF", "TIMETOSTR", "VALIDDATE"}},
      {55352, {"CREATEDATE", "CREATENUM", "CREATESTR", "SWAP"}},
  };
  return groups;
}

std::string repeat(const std::string& symbol, int64_t times) {
  if (times <= 0 || symbol.empty()) return {};
  if (static_cast<uint64_t>(times) > kMaxTextLength / symbol.size()) text_too_long();
  std::string text;
  text.reserve(symbol.size() * static_cast<size_t>(times));
  for (int64_t i = 0; i < times; ++i) text += symbol;
  return text;
}

std::string pad(const std::string& text, int length, const std::string& symbol, bool left) {
  const std::string trimmed(trim_blanks(text));
  const std::string fill =
      repeat(symbol, static_cast<int64_t>(length) - static_cast<int64_t>(trimmed.size()));
  return left ? fill + trimmed : trimmed + fill;
}

int32_t compare_str(const std::string& a, const std::string& b) {
  const size_t n = std::max(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (i >= a.size() || i >= b.size() || a[i] != b[i]) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

int32_t end_pos(const std::string& text, const std::string& sub) {
  if (text.size() < sub.size()) return 0;
  if (sub.empty()) return static_cast<int32_t>(text.size());
  const size_t found = text.rfind(sub);
  return found == std::string::npos ? 0 : static_cast<int32_t>(found + 1);
}

int32_t n_pos(const std::string& sub, const std::string& text, int count) {
  if (count < 1 || sub.empty()) return 0;
  size_t offset = 0;  // bytes of the original text removed so far
  size_t found = 0;
  for (int round = 0; round < count; ++round) {
    found = text.find(sub, offset);
    if (found == std::string::npos) return 0;
    offset = found + 1;
  }
  return static_cast<int32_t>(found + 1);
}

std::string delete_text(std::string text, int64_t from, int64_t count) {
  const auto size = static_cast<int64_t>(text.size());
  if (from < 1 || from > size || count <= 0) return text;
  text.erase(static_cast<size_t>(from - 1), static_cast<size_t>(std::min(count, size - from + 1)));
  return text;
}

std::string insert_text(const std::string& sub, std::string text, int64_t at) {
  const auto size = static_cast<int64_t>(text.size());
  const int64_t index = std::clamp<int64_t>(at, 1, size + 1) - 1;
  check_text_length(text.size() + sub.size());
  text.insert(static_cast<size_t>(index), sub);
  return text;
}

std::string replace_all(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string result;
  size_t pos = 0;
  for (size_t found = text.find(from); found != std::string::npos; found = text.find(from, pos)) {
    check_text_length(result.size() + (found - pos) + to.size());
    result.append(text, pos, found - pos);
    result += to;
    pos = found + from.size();
  }
  check_text_length(result.size() + (text.size() - pos));
  result.append(text, pos, std::string::npos);
  return result;
}

std::string trim_left(const std::string& text) {
  size_t start = 0;
  while (start < text.size() && is_blank_byte(text[start])) ++start;
  return text.substr(start);
}

std::string trim_right(const std::string& text) {
  size_t end = text.size();
  while (end > 0 && is_blank_byte(text[end - 1])) --end;
  return text.substr(0, end);
}

// The ";"-separated integers of INCDATE and INCTIME; a missing word reads as "" and fails.
std::vector<int> read_parts(const std::string& text, int count) {
  const WordScan words(text, ";");
  std::vector<int> parts;
  for (int i = 1; i <= count; ++i) parts.push_back(str_to_int(words.Word(i)));
  return parts;
}

}  // namespace

TAddFunctionLibrary::TAddFunctionLibrary(FunctionContext& context) : TvtFunctionLibrary(context) {
  SetFunctionNames({"CHR",
                    "COMPARESTR",
                    "CREATEDATE",
                    "CREATENUM",
                    "CREATESTR",
                    "DATEDIFF",
                    "DATETOSTR",
                    "DAYSPERMONTH",
                    "DELETE",
                    "ENDPOS",
                    "EXTRACTWORD",
                    "FIRSTDAYOFNEXTMONTH",
                    "FIRSTDAYOFPREVMONTH",
                    "INCDATE",
                    "INCDAY",
                    "INCMONTH",
                    "INCTIME",
                    "INCYEAR",
                    "INSERT",
                    "ISLEAPYEAR",
                    "ISRANGEDATE",
                    "ISRANGENUM",
                    "ISWORDPRESENT",
                    "LASTDAYOFPREVMONTH",
                    "LEFTCOPY",
                    "NPOS",
                    "PADCENTER",
                    "PADLEFT",
                    "PADRIGHT",
                    "REPLACESTR",
                    "REPLICATE",
                    "RIGHTCOPY",
                    "STRTODATEDEF",
                    "STRTOFLOAT",
                    "STRTOFLOATDEF",
                    "STRTOINT",
                    "STRTOINTDEF",
                    "SWAP",
                    "TIMETOSTR",
                    "TRIMLEFT",
                    "TRIMRIGHT",
                    "VALIDDATE",
                    "VALIDFLOAT",
                    "VALIDINT",
                    "WORDCOUNT",
                    "WORDPOSITION",
                    "FORMATINT"});
  RegisterDescriptions();
}

void TAddFunctionLibrary::RegisterDescriptions() {
  int description = 55801;
  for (const Group& group : description_groups()) {
    const std::string category = context().LoadString(group.category);
    for (const char* name : group.names) {
      AddFunctionDesc(name, category, context().LoadString(description++));
      if (group.category == 55353 && std::string_view(name) == "ISRANGENUM") {
        AddFunctionDesc("FORMATINT", category, "FORMATINT(<INTEGER>,<INTEGER>)/Format String");
      }
    }
  }
}

void TAddFunctionLibrary::RunScriptLine(const std::string& line) const {
  if (!context().run_script_line) throw ZorelError("No script interpreter for: " + line);
  context().run_script_line(line);
}

void TAddFunctionLibrary::EvalFunction(int fno, const Value& p1, const Value& p2, const Value& p3,
                                       Value& val) {
  val = Value(int32_t{0});
  switch (fno) {
    case kCreateDate:
    case kCreateNum:
    case kCreateStr:
      break;
    case kSwap: {
      const std::string a = p1.to_string();
      const std::string b = p2.to_string();
      RunScriptLine("MTV2VT := " + a);
      RunScriptLine(a + " := " + b);
      RunScriptLine(b + " := MTV2VT");
      break;
    }
    case kDateDiff: {
      const double d1 = EvalDate(p1);
      const std::string diff = date_diff_text(d1, EvalDate(p2));
      RunScriptLine(p3.to_string() + ":=" + "'" + diff + "'");
      break;
    }
    case kDateToStr:
    case kDaysPerMonth:
    case kFirstDayOfNextMonth:
    case kFirstDayOfPrevMonth:
    case kIncDate:
    case kIncDay:
    case kIncMonth:
    case kIncTime:
    case kIncYear:
    case kIsLeapYear:
    case kIsRangeDate:
    case kLastDayOfPrevMonth:
    case kStrToDateDef:
    case kTimeToStr:
    case kValidDate:
      val = DateFunction(fno, p1, p2, p3);
      break;
    case kIsRangeNum:
    case kStrToFloat:
    case kStrToFloatDef:
    case kStrToInt:
    case kStrToIntDef:
    case kValidFloat:
    case kValidInt:
    case kFormatInt:
      val = ConversionFunction(fno, p1, p2, p3);
      break;
    default:
      val = TextFunction(fno, p1, p2, p3);
      break;
  }
}

Value TAddFunctionLibrary::DateFunction(int fno, const Value& p1, const Value& p2,
                                        const Value& p3) {
  switch (fno) {
    case kDateToStr:
      return Value(date_to_str(EvalDate(p1), fs()));
    case kTimeToStr:
      return Value(time_to_str(EvalDate(p1), fs()));
    case kDaysPerMonth: {
      const int32_t year = EvalInt(p1);
      const int32_t month = EvalInt(p2);
      // Months outside 1-12 have no days.
      return Value(int32_t{month >= 1 && month <= 12 ? days_in_month(year, month) : 0});
    }
    case kIsLeapYear:
      return Value(is_leap_year(EvalInt(p1)));
    case kFirstDayOfNextMonth:
      return Value::date_time(first_day_of_next_month(EvalDate(p1)));
    case kFirstDayOfPrevMonth:
      return Value::date_time(first_day_of_prev_month(EvalDate(p1)));
    case kLastDayOfPrevMonth:
      return Value::date_time(last_day_of_prev_month(EvalDate(p1)));
    case kIncDate: {
      const double date = EvalDate(p1);
      const std::vector<int> parts = read_parts(EvalText(p2), 3);
      return Value::date_time(inc_date(date, {parts[0], parts[1], parts[2]}));
    }
    case kIncDay: {
      const double date = EvalDate(p1);
      return Value::date_time(date + EvalInt(p2));
    }
    case kIncMonth: {
      const double date = EvalDate(p1);
      return Value::date_time(inc_date(date, {0, EvalInt(p2), 0}));
    }
    case kIncYear: {
      const double date = EvalDate(p1);
      return Value::date_time(inc_date(date, {0, 0, EvalInt(p2)}));
    }
    case kIncTime: {
      const double time = EvalDate(p1);
      const std::vector<int> parts = read_parts(EvalText(p2), 4);
      return Value::date_time(inc_time(time, {parts[0], parts[1], parts[2], parts[3]}));
    }
    case kIsRangeDate: {
      const double d1 = EvalDate(p1);
      const double d2 = EvalDate(p2);
      const double d3 = EvalDate(p3);
      return Value(d1 <= d3 && d3 <= d2);
    }
    case kStrToDateDef: {
      const std::optional<double> date = try_str_to_date(EvalText(p1), fs(), context().clock);
      return Value::date_time(date ? *date : EvalDate(p2));
    }
    case kValidDate:
      return Value(try_str_to_date(EvalText(p1), fs(), context().clock).has_value());
    default:
      return Value(int32_t{0});
  }
}

Value TAddFunctionLibrary::ConversionFunction(int fno, const Value& p1, const Value& p2,
                                              const Value& p3) {
  switch (fno) {
    case kIsRangeNum: {
      const double n1 = EvalFloat(p1);
      const double n2 = EvalFloat(p2);
      const double n3 = EvalFloat(p3);
      return Value(n1 <= n3 && n3 <= n2);
    }
    case kStrToFloat:
      return Value(str_to_float(EvalText(p1), fs()));
    case kStrToFloatDef: {
      const std::optional<double> number = try_str_to_float(EvalText(p1), fs());
      return Value(number ? *number : EvalFloat(p2));
    }
    case kStrToInt:
      return Value(str_to_int(EvalText(p1)));
    case kStrToIntDef: {
      const std::optional<int32_t> number = try_str_to_int(EvalText(p1));
      return Value(number ? *number : EvalInt(p2));
    }
    case kValidFloat:
      return Value(try_str_to_float(EvalText(p1), fs()).has_value());
    case kValidInt:
      return Value(try_str_to_int(EvalText(p1)).has_value());
    case kFormatInt: {
      const int32_t width = EvalInt(p1);
      const int32_t number = EvalInt(p2);
      return Value(format_string("%" + std::to_string(width) + "d", {Value(number)}, fs()));
    }
    default:
      return Value(int32_t{0});
  }
}

Value TAddFunctionLibrary::TextFunction(int fno, const Value& p1, const Value& p2,
                                        const Value& p3) {
  switch (fno) {
    case kChr: {
      const int32_t code = EvalInt(p1);
      return Value(std::string(1, static_cast<char>(((code % 256) + 256) % 256)));
    }
    case kCompareStr: {
      const std::string a = EvalText(p1);
      return Value(compare_str(a, EvalText(p2)));
    }
    case kDelete: {
      const std::string text = EvalText(p1);
      const int32_t from = EvalInt(p2);
      return Value(delete_text(text, from, EvalInt(p3)));
    }
    case kEndPos: {
      const std::string text = EvalText(p1);
      return Value(end_pos(text, EvalText(p2)));
    }
    case kInsert: {
      const std::string sub = EvalText(p1);
      const std::string text = EvalText(p2);
      return Value(insert_text(sub, text, EvalInt(p3)));
    }
    case kLeftCopy: {
      const std::string text = EvalText(p1);
      const int32_t count = EvalInt(p2);
      return Value(count <= 0 ? std::string() : text.substr(0, static_cast<size_t>(count)));
    }
    case kRightCopy: {
      const std::string text = EvalText(p1);
      const int32_t count = EvalInt(p2);
      if (count <= 0 || static_cast<size_t>(count) > text.size()) return Value("");
      return Value(text.substr(text.size() - static_cast<size_t>(count)));
    }
    case kNPos: {
      const std::string sub = EvalText(p1);
      const std::string text = EvalText(p2);
      return Value(n_pos(sub, text, EvalInt(p3)));
    }
    case kPadLeft:
    case kPadRight: {
      const std::string text = EvalText(p1);
      const int32_t length = EvalInt(p2);
      return Value(pad(text, length, EvalText(p3), fno == kPadLeft));
    }
    case kPadCenter: {
      const std::string text = EvalText(p1);
      const int32_t length = EvalInt(p2);
      const std::string symbol = EvalText(p3);
      const int64_t half = (static_cast<int64_t>(length) - static_cast<int64_t>(text.size())) / 2;
      const int64_t left_length = static_cast<int64_t>(text.size()) + half;
      const std::string left =
          pad(text, static_cast<int>(std::clamp<int64_t>(left_length, INT32_MIN, INT32_MAX)),
              symbol, true);
      return Value(pad(left, length, symbol, false));
    }
    case kReplaceStr: {
      const std::string text = EvalText(p1);
      const std::string from = EvalText(p2);
      return Value(replace_all(text, from, EvalText(p3)));
    }
    case kReplicate: {
      const std::string symbol = EvalText(p1);
      return Value(repeat(symbol, EvalInt(p2)));
    }
    case kTrimLeft:
      return Value(trim_left(EvalText(p1)));
    case kTrimRight:
      return Value(trim_right(EvalText(p1)));
    case kExtractWord:
    case kWordPosition: {
      const int32_t number = EvalInt(p1);
      const std::string text = EvalText(p2);
      const WordScan words(text, EvalText(p3));
      if (fno == kExtractWord) return Value(words.Word(number));
      return Value(int32_t{words.Position(number)});
    }
    case kIsWordPresent: {
      const std::string word = EvalText(p1);
      const std::string text = EvalText(p2);
      return Value(WordScan(text, EvalText(p3)).Contains(word));
    }
    case kWordCount: {
      const std::string text = EvalText(p1);
      return Value(int32_t{WordScan(text, EvalText(p2)).Count()});
    }
    default:
      return Value(int32_t{0});
  }
}

TvtAddFunctionLibrary::TvtAddFunctionLibrary(std::string* shared) : shared_(shared) {
  if (shared_) shared_->clear();
}

void TvtAddFunctionLibrary::SetFormatDate(std::string value) {
  format_date_ = std::move(value);
  if (shared_) *shared_ = format_date_;
}

}  // namespace zr
