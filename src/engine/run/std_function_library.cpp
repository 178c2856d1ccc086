#include "engine/run/std_function_library.h"

#include <string>
#include <vector>

#include "engine/run/aggregates.h"
#include "platform/codepage.h"
#include "platform/date_time.h"
#include "platform/mask_format.h"
#include "platform/number_format.h"
#include "platform/text_lines.h"

namespace zr {
namespace {

enum Fn {
  kAvg,
  kCount,
  kDayOf,
  kFormatDateTime,
  kFormatFloat,
  kFormatText,
  kInput,
  kLength,
  kLowerCase,
  kMax,
  kMaxNum,
  kMessageBox,
  kMin,
  kMinNum,
  kMonthOf,
  kNameCase,
  kPos,
  kSum,
  kTrim,
  kUpperCase,
  kYearOf,
};

// Every name the library describes for the picker: its own functions, and the parser's
// functions, system variables and report functions that it does not serve. Each comes with
// its category text number (55349-55355); description texts run from 55360 in this order.
struct Described {
  const char* name;
  int category;
};
constexpr Described kDescribed[] = {
    {"AVG", 55349},
    {"COUNT", 55349},
    {"MAX", 55349},
    {"MIN", 55349},
    {"SUM", 55349},
    {"DAYOF", 55350},
    {"FORMATDATETIME", 55350},
    {"MONTHOF", 55350},
    {"STRTODATE", 55350},
    {"STRTOTIME", 55350},
    {"YEAROF", 55350},
    {"FORMATFLOAT", 55351},
    {"FORMATTEXT", 55351},
    {"LENGTH", 55351},
    {"LOWERCASE", 55351},
    {"NAMECASE", 55351},
    {"POS", 55351},
    {"TRIM", 55351},
    {"UPPERCASE", 55351},
    {"COPY", 55351},
    {"STR", 55351},
    {"FRAC", 55352},
    {"INT", 55352},
    {"ROUND", 55352},
    {"MAXNUM", 55352},
    {"MINNUM", 55352},
    {"MOD", 55352},
    {"IF", 55353},
    {"NOT", 55353},
    {"AND", 55353},
    {"OR", 55353},
    {"TRUE", 55353},
    {"FALSE", 55353},
    {"INPUT", 55353},
    {"MESSAGEBOX", 55353},
    {"PAGE#", 55354},
    {"LINE#", 55354},
    {"LINETHROUGH#", 55354},
    {"COLUMN#", 55354},
    {"CURRENT#", 55354},
    {"TOTALPAGES", 55354},
    {"DATE", 55354},
    {"TIME", 55354},
    {"VALUE", 55354},
    {"CURY", 55354},
    {"FREESPACE", 55354},
    {"FINALPASS", 55354},
    {"PAGEHEIGHT", 55354},
    {"PAGEWIDTH", 55354},
    {"STOPREPORT", 55355},
    {"NEWPAGE", 55355},
    {"NEWCOLUMN", 55355},
    {"SHOWBAND", 55355},
    {"INC", 55355},
    {"DEC", 55355},
    {"SETARRAY", 55355},
    {"GETARRAY", 55355},
};

AggregateKind kind_of(int fno) {
  switch (fno) {
    case kAvg:
      return AggregateKind::Avg;
    case kCount:
      return AggregateKind::Count;
    case kMax:
      return AggregateKind::Max;
    case kMin:
      return AggregateKind::Min;
    default:
      return AggregateKind::Sum;
  }
}

std::string name_case(const std::string& text) {
  std::string result = ansi_lower(text);
  if (!result.empty()) result = ansi_upper(result.substr(0, 1)) + result.substr(1);
  return result;
}

// 1-based byte position, 0 when absent (an empty needle is absent too, as in the classic Pos).
int32_t position(const std::string& sub, const std::string& text) {
  if (sub.empty()) return 0;
  const size_t found = text.find(sub);
  return found == std::string::npos ? 0 : static_cast<int32_t>(found + 1);
}

}  // namespace

TvtStdFunctionLibrary::TvtStdFunctionLibrary(FunctionContext& context)
    : TvtFunctionLibrary(context) {
  SetFunctionNames({"AVG",        "COUNT",      "DAYOF",  "FORMATDATETIME", "FORMATFLOAT",
                    "FORMATTEXT", "INPUT",      "LENGTH", "LOWERCASE",      "MAX",
                    "MAXNUM",     "MESSAGEBOX", "MIN",    "MINNUM",         "MONTHOF",
                    "NAMECASE",   "POS",        "SUM",    "TRIM",           "UPPERCASE",
                    "YEAROF"});
  RegisterDescriptions();
}

void TvtStdFunctionLibrary::RegisterDescriptions() {
  int description = 55360;
  for (const Described& d : kDescribed) {
    AddFunctionDesc(d.name, context().LoadString(d.category), context().LoadString(description));
    if (description < 55416) ++description;
  }
}

void TvtStdFunctionLibrary::EvalFunction(int fno, const Value& p1, const Value& p2, const Value& p3,
                                         Value& val) {
  val = Value("0");
  switch (fno) {
    case kAvg:
    case kCount:
    case kMax:
    case kMin:
    case kSum:
      val = Aggregate(fno, p1, p2, p3);
      break;
    case kDayOf:
      val = Value(int32_t{decode_date(EvalDate(p1)).day});
      break;
    case kMonthOf:
      val = Value(int32_t{decode_date(EvalDate(p1)).month});
      break;
    case kYearOf:
      val = Value(int32_t{decode_date(EvalDate(p1)).year});
      break;
    case kFormatDateTime: {
      const std::string pattern = EvalText(p1);
      val = Value(format_date_time(pattern, EvalDate(p2), fs()));
      break;
    }
    case kFormatFloat: {
      const std::string pattern = EvalText(p1);
      val = Value(format_float(pattern, EvalFloat(p2), fs()));
      break;
    }
    case kFormatText: {
      const std::string mask = EvalText(p1) + ";0; ";
      val = Value(format_mask_text(mask, EvalText(p2), fs()));
      break;
    }
    case kInput: {
      const std::string prompt = EvalText(p1);
      const std::string default_text = EvalText(p2);
      val = Value(context().ui.input_box("", prompt, default_text).value_or(default_text));
      break;
    }
    case kLength:
      val = Value(static_cast<int32_t>(EvalText(p1).size()));
      break;
    case kLowerCase:
      val = Value(ansi_lower(EvalText(p1)));
      break;
    case kUpperCase:
      val = Value(ansi_upper(EvalText(p1)));
      break;
    case kNameCase:
      val = Value(name_case(EvalText(p1)));
      break;
    case kMaxNum:
    case kMinNum: {
      const Value a = Evaluate(p1);
      const Value b = Evaluate(p2);
      const bool take_a = fno == kMaxNum ? b < a : a < b;
      val = take_a ? a : b;
      break;
    }
    case kMessageBox: {
      const std::string text = EvalText(p1);
      const std::string caption = EvalText(p2);
      const int32_t flags = EvalInt(p3);
      val = Value(int32_t{context().ui.show_message(text, caption, flags)});
      break;
    }
    case kPos: {
      const std::string sub = EvalText(p1);
      val = Value(position(sub, EvalText(p2)));
      break;
    }
    case kTrim:
      val = Value(std::string(trim_blanks(EvalText(p1))));
      break;
    default:
      break;
  }
}

Value TvtStdFunctionLibrary::Aggregate(int fno, const Value& p1, const Value& p2,
                                       const Value& p3) const {
  TvtAggregateState* state = context().aggregates;
  if (!state || !state->host) return Value("0");
  AggregateCall call;
  call.kind = kind_of(fno);
  if (fno == kCount) {
    call.band = p1.to_string();
    call.flag = p2.to_string();
  } else {
    call.expression = p1.to_string();
    call.band = p2.to_string();
    call.flag = p3.to_string();
  }
  TvtAggregateBand* band = state->host->CurrentBand();
  if (!band) return Value("0");
  if (!state->collecting) return band->ReadAggregate(call, state->host->CrossColumn());

  const std::string_view band_name = trim_blanks(call.band);
  const AggregateLevel level = DefaultAggregateLevel(band->BandType);
  TvtAggregateBand* data = nullptr;
  if (!band_name.empty()) {
    data = state->host->FindDataBand(band_name);
  } else if (level != AggregateLevel::None) {
    data = state->host->PageDataBand(level);
  }
  if (!data || data != state->target) return Value("0");
  const std::optional<std::string_view> column =
      band->HasCrossObjects ? std::optional<std::string_view>("0") : std::nullopt;
  data->Aggregates.SetVariable(AggregateKey(band->Name, call, column),
                               InitialAggregateValue(call.kind));
  band->AggregateOwner = data;
  return Value("0");
}

}  // namespace zr
