#include "engine/model/view.h"

#include <cmath>

#include "engine/model/variables.h"
#include "engine/report/tvt_globals.h"
#include "platform/rounding.h"
#include "platform/text_lines.h"

namespace zr {

// --- TvtObject ---

void TvtObject::SetProperty(const std::string&, const Value&) {}

Value TvtObject::GetProperty(const std::string&) {
  return Value::null();
}

Value TvtObject::CallMethod(const std::string&, const Value&, const Value&, const Value&) {
  return Value::null();
}

bool TvtObject::HasProperty(std::string_view name) const {
  for (const TvtPropRec& p : PropRec)
    if (same_name(p.name, name)) return true;
  return false;
}

void TvtObject::AddProperty(std::string name, std::string enum_names,
                            std::vector<int> enum_values) {
  PropRec.push_back({std::move(name), 0, std::move(enum_names), std::move(enum_values)});
}

// --- Frame width encoding ---

int32_t EncodeFrameWidth(float width) {
  double w = width;
  if (w == std::trunc(w)) return static_cast<int32_t>(w);
  return round_half_even_to_int(w * 1000);
}

float DecodeFrameWidth(int32_t stored) {
  if (stored < 10) return static_cast<float>(stored);
  return static_cast<float>(stored / 1000.0);
}

// --- TvtView ---

TvtView::TvtView() {
  const TvtGlobals* g = TvtGlobals::Find();
  char separator = g ? g->format_settings.decimal_separator : '.';
  DisplayFormat = 0x200 + static_cast<uint8_t>(separator);
}

TvtView::~TvtView() {
  if (TvtGlobals* g = TvtGlobals::Find(); g && g->CurView == this) g->CurView = nullptr;
}

void TvtView::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  Left = left;
  Top = top;
  Width = width;
  Height = height;
}

void TvtView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
}

void TvtView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
}

// Empty link fields travel as one space so that old readers, which could not take an empty
// string there, read the record; the field keeps the space afterwards.
static void write_link_field(ByteWriter& stream, std::string& field) {
  if (field.empty()) field = " ";
  stream.write_string(field);
}

void TvtView::SaveCommonRecord(ByteWriter& stream) {
  stream.set_version(kCurrentStreamVersion);
  RecordVersion = 2;
  ExtensionVersion = 3;
  stream.write_string(Name);
  stream.write_u8(RecordVersion);
  stream.write_u8(ExtensionVersion);
  stream.write_i32(Left);
  stream.write_i32(Top);
  stream.write_i32(Width);
  stream.write_i32(Height);
  stream.write_u16(Flags);
  stream.write_u16(FrameTyp);
  stream.write_i32(EncodeFrameWidth(FrameWidth));
  stream.write_i32(FrameColor);
  stream.write_u16(FrameStyle);
  stream.write_i32(FillColor);
  if (!PreparedMode) {
    stream.write_i32(DisplayFormat);
    stream.write_string(FormatText);
  }
  stream.write_string_list(PreparedMode ? ExpandedMemo : Memo);
  if (!PreparedMode) {
    stream.write_string_list(Script);
    stream.write_u16(Visible ? 0xFFFF : 0);
  }
  stream.write_u16(Restrictions);
  stream.write_string(Tag);
  stream.write_i32(GapX);
  stream.write_i32(GapY);
  stream.write_u8(BandAlign);
  write_link_field(stream, LinkUrl);
  write_link_field(stream, DrillData);
  write_link_field(stream, DrillFile);
}

void TvtView::LoadCommonRecord(ByteReader& stream) {
  const int v = stream.version();
  if (v > 23 || (v == 23 && !PreparedMode)) {
    Name = stream.read_string();
  } else {
    CreateUniqueName();
  }
  if (v > 23) {
    RecordVersion = stream.read_u8();
    ExtensionVersion = stream.read_u8();
  }
  Left = stream.read_i32();
  Top = stream.read_i32();
  Width = stream.read_i32();
  Height = stream.read_i32();
  Flags = stream.read_u16();
  FrameTyp = stream.read_u16();
  FrameWidth = DecodeFrameWidth(stream.read_i32());
  FrameColor = stream.read_i32();
  FrameStyle = stream.read_u16();
  FillColor = stream.read_i32();
  if (!PreparedMode) {
    DisplayFormat = stream.read_i32();
    FormatText = stream.read_string();
  }
  Memo = stream.read_string_list();
  if (v >= 23 && !PreparedMode) {
    Script = stream.read_string_list();
    Visible = stream.read_u16() != 0;
  }
  if (v >= 24) {
    Restrictions = stream.read_u16();
    Tag = stream.read_string();
    GapX = stream.read_i32();
    GapY = stream.read_i32();
  }
  if (RecordVersion > 1) BandAlign = stream.read_u8();
  if (ExtensionVersion > 2) {
    LinkUrl = trim_blanks(stream.read_string());
    DrillData = trim_blanks(stream.read_string());
    DrillFile = trim_blanks(stream.read_string());
  }
}

void TvtView::WritePreparedRecord(ByteWriter& stream) {
  stream.write_u8(ObjectType);
  if (ObjectType == kObjAddIn) stream.write_string(ClassName());
  bool prepared = PreparedMode;
  PreparedMode = true;
  SaveToStream(stream);
  PreparedMode = prepared;
}

}  // namespace zr
