// The property table and the script names of every view.
#include <string>

#include "engine/model/view.h"
#include "engine/report/tvt_globals.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/text_limit.h"
#include "platform/text_lines.h"

namespace zr {

namespace {

std::string join_lines(const TvtStrings& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// Index checks for the list methods: a script's bad index is an error, not a crash.
size_t list_index(const TvtStrings& list, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= list.size())
    throw ZorelError("List index out of bounds (" + std::to_string(index) + ")");
  return static_cast<size_t>(index);
}

Value evaluate(const Value& source) {
  return TvtGlobals::Get().GlobalParser.Evaluate(source.to_string());
}

}  // namespace

void TvtView::RegisterProperties() {
  PropRec.clear();
  const bool band = ObjectType == kObjBand;
  const bool framed = !band && ObjectType != kObjSubReport;
  for (const char* name : {"Name", "Left", "Top", "Width", "Height", "Flags"}) AddProperty(name);
  if (framed) {
    AddProperty("FrameTyp");
    AddProperty("FrameWidth");
    AddProperty("FrameColor");
    AddProperty("FrameStyle", "psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble",
                {0, 1, 2, 3, 4, 5});
    AddProperty("FillColor");
    AddProperty("Tag");
    AddProperty("BandAlign", "baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop;baRest",
                {0, 1, 2, 3, 4, 5, 6, 7});
  }
  for (const char* name : {"Visible", "Memo", "Memo.Count", "Restrictions"}) AddProperty(name);
  if (!band)
    for (const char* name : {"LinkUrl", "DrillData", "DrillFile"}) AddProperty(name);
}

Value TvtView::GetProperty(const std::string& name) {
  const std::string n = upper_ascii(name);
  if (n == "NAME") return Value(Name);
  if (n == "LEFT") return Value(Left);
  if (n == "TOP") return Value(Top);
  if (n == "WIDTH") return Value(Width);
  if (n == "HEIGHT") return Value(Height);
  if (n == "FLAGS") return Value(int32_t{Flags});
  if (n == "FRAMETYP") return Value(int32_t{FrameTyp});
  if (n == "FRAMESTYLE") return Value(int32_t{FrameStyle});
  if (n == "FRAMEWIDTH") return Value(static_cast<double>(FrameWidth));
  if (n == "FRAMECOLOR") return Value(FrameColor);
  if (n == "FILLCOLOR") return Value(FillColor);
  if (n == "VISIBLE") return Value(Visible);
  if (n == "MEMO") return Value(join_lines(Memo));
  if (n == "MEMO.COUNT") return Value(static_cast<int32_t>(Memo.size()));
  if (n == "GAPX") return Value(GapX);
  if (n == "GAPY") return Value(GapY);
  if (n == "STRETCHED") return Value(HasFlag(kFlagStretched));
  if (n == "BANDALIGN") return Value(int32_t{BandAlign});
  if (n == "DATAFIELD") return Value(Memo.empty() ? std::string() : Memo.front());
  if (n == "TAG") return Value(Tag);
  if (n == "DRILLDATA") return Value(DrillData);
  if (n == "DRILLFILE") return Value(DrillFile);
  if (n == "LINKURL") return Value(LinkUrl);
  return Value::null();
}

void TvtView::SetProperty(const std::string& name, const Value& value) {
  const std::string n = upper_ascii(name);
  if (n == "NAME")
    Name = value.to_string();
  else if (n == "LEFT")
    Left = value.to_int();
  else if (n == "TOP")
    Top = value.to_int();
  else if (n == "WIDTH")
    Width = value.to_int();
  else if (n == "HEIGHT")
    Height = value.to_int();
  else if (n == "FLAGS")
    Flags = static_cast<uint16_t>(value.to_int());
  else if (n == "FRAMETYP")
    FrameTyp = static_cast<uint16_t>(value.to_int());
  else if (n == "FRAMESTYLE")
    FrameStyle = static_cast<uint16_t>(value.to_int());
  else if (n == "FRAMEWIDTH")
    FrameWidth = static_cast<float>(value.to_double());
  else if (n == "FRAMECOLOR")
    FrameColor = value.to_int();
  else if (n == "FILLCOLOR")
    FillColor = value.to_int();
  else if (n == "VISIBLE")
    Visible = value.to_bool();
  else if (n == "MEMO" || n == "DATAFIELD")
    Memo = split_lines(value.to_string());
  else if (n == "GAPX")
    GapX = value.to_int();
  else if (n == "GAPY")
    GapY = value.to_int();
  else if (n == "STRETCHED")
    SetFlag(kFlagStretched, value.to_bool());
  else if (n == "BANDALIGN")
    BandAlign = static_cast<uint8_t>(value.to_int());
  else if (n == "TAG")
    Tag = value.to_string();
  else if (n == "DRILLDATA")
    DrillData = value.to_string();
  else if (n == "DRILLFILE")
    DrillFile = value.to_string();
  else if (n == "LINKURL")
    LinkUrl = value.to_string();
}

Value TvtView::CallMethod(const std::string& name, const Value& p1, const Value& p2,
                          const Value& p3) {
  if (name == "HIDE" || name == "SHOW") {
    SetProperty("VISIBLE", Value(name == "SHOW"));
  } else if (name == "SETINDEXPROPERTY" || name == "GETINDEXPROPERTY") {
    if (upper_ascii(p1.to_string()) != "MEMO") return Value::null();
    const size_t i = list_index(Memo, p2.to_int());
    if (name == "GETINDEXPROPERTY") return Value(Memo[i]);
    std::string line = p3.to_string();
    check_text_length(joined_length(Memo) - Memo[i].size() + line.size());
    Memo[i] = std::move(line);
  } else if (name == "MEMO.ADD") {
    std::string line = evaluate(p1).to_string();
    check_text_length(joined_length(Memo) + line.size() + 2);
    Memo.push_back(std::move(line));
  } else if (name == "MEMO.CLEAR") {
    Memo.clear();
  } else if (name == "MEMO.DELETE") {
    Memo.erase(Memo.begin() + static_cast<ptrdiff_t>(list_index(Memo, evaluate(p1).to_int())));
  } else if (name == "MEMO.INDEXOF") {
    const std::string line = evaluate(p1).to_string();
    for (size_t i = 0; i < Memo.size(); ++i)
      if (Memo[i] == line) return Value(static_cast<int32_t>(i));
    return Value(int32_t{-1});
  }
  return Value::null();
}

}  // namespace zr
