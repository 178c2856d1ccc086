#include "engine/model/band_view.h"

#include <initializer_list>
#include <optional>

#include "engine/locale/locale_strings.h"
#include "engine/model/page.h"
#include "engine/report/run_host.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/rounding.h"

namespace zr {

namespace {

bool one_of(int type, std::initializer_list<int> types) {
  for (int t : types)
    if (t == type) return true;
  return false;
}

bool in_range(int type, int from, int to) {
  return type >= from && type <= to;
}

struct FlagName {
  const char* name;
  uint16_t bit;
};
constexpr FlagName kFlagNames[] = {
    {"FORMNEWPAGE", kBandFormNewPage},
    {"PRINTIFSUBSETEMPTY", kBandPrintIfSubsetEmpty},
    {"BREAKED", kBandBreaked},
    {"ONFIRSTPAGE", kBandOnFirstPage},
    {"ONLASTPAGE", kBandOnLastPage},
    {"REPEATHEADER", kBandRepeatHeader},
    {"PRINTCHILDIFINVISIBLE", kBandPrintChildIfInvisible},
};

const FlagName* find_flag(const std::string& upper_name) {
  for (const FlagName& f : kFlagNames)
    if (upper_name == f.name) return &f;
  return nullptr;
}

// "a;b;c": the names of the other bands of the page whose type is one of `types`.
std::string band_names(const TvtBandView& self, std::initializer_list<int> types) {
  std::string names;
  if (!self.Parent) return names;
  for (const auto& object : self.Parent->Objects) {
    const auto* band = dynamic_cast<const TvtBandView*>(object.get());
    if (!band || band == &self || !one_of(band->BandType(), types)) continue;
    if (!names.empty()) names += ';';
    names += band->Name;
  }
  return names;
}

// The band engine while a report is prepared; null otherwise.
TvtRunHost* RunHost() {
  TvtGlobals* g = TvtGlobals::Find();
  return g ? g->run_host : nullptr;
}

}  // namespace

std::string BandTypeName(int type) {
  if (type < btReportTitle || type > btNone) return {};
  return LoadStr(kStrFirstBandName + type);
}

TvtBandView::TvtBandView() {
  NamePrefix = "Band";
  ObjectType = kObjBand;
  DisplayFormat = 0;
  Flags = kBandOnFirstPage | kBandOnLastPage;
}

void TvtBandView::RegisterProperties() {
  TvtView::RegisterProperties();
  for (TvtPropRec& p : PropRec)
    if (p.name == "Memo") p.name = "OnBeforePrint";  // the band's script

  const int t = BandType();
  if (t != btPageFooter) {
    AddProperty("ChildBand", band_names(*this, {btChild}));
    AddProperty("PrintChildIfInvisible");
  }
  if (in_range(t, 0, 2) || in_range(t, 4, 12) || in_range(t, 16, 18) || t == btChild)
    AddProperty("Stretched");
  if (one_of(t, {0, 1, 5, 6, 8, 9, 11, 12, 16})) AddProperty("FormNewPage");
  if (one_of(t, {btMasterData, btDetailData})) AddProperty("PrintIfSubsetEmpty");
  if (in_range(t, 0, 1) || in_range(t, 4, 12) || in_range(t, 16, 17) || t == btChild)
    AddProperty("Breaked");
  if (one_of(t, {btPageHeader, btPageFooter})) AddProperty("OnFirstPage");
  if (t == btPageFooter) AddProperty("OnLastPage");
  if (one_of(t, {4, 7, 10, 16, 18})) AddProperty("RepeatHeader");
  if (t == btCrossData) AddProperty("DataSource");
  if (one_of(t, {btMasterData, btDetailData, btSubDetailData}))
    for (const char* name : {"Columns", "ColumnWidth", "ColumnGap", "DataSource"})
      AddProperty(name);
  if (t == btGroupHeader) {
    AddProperty("Condition");
    AddProperty("Master", band_names(*this, {btMasterData, btDetailData, btSubDetailData}));
  }
  AddProperty("EOF");
}

// While a report is prepared, LEFT, TOP, WIDTH, HEIGHT and VISIBLE, and the relinking done
// by CHILDBAND, CONDITION and DATASOURCE, belong to the running band of the band engine,
// which serves them there; the design record answers here.
Value TvtBandView::GetProperty(const std::string& name) {
  const std::string n = upper_ascii(name);
  if (TvtRunHost* host = RunHost())
    if (std::optional<Value> running = host->GetBandProperty(*this, n)) return *running;
  if (const FlagName* f = find_flag(n)) return Value(HasFlag(f->bit));
  if (n == "CHILDBAND") return Value(ChildBand);
  if (n == "MASTER") return Value(Master);
  if (n == "CONDITION" || n == "DATASOURCE") return Value(FormatText);
  if (n == "COLUMNS") return Value(Columns);
  if (n == "COLUMNGAP") return Value(ColumnGap);
  if (n == "COLUMNWIDTH") return Value(ColumnWidth);
  if (n == "NEWCOLUMNAFTER") return Value(NewColumnAfter);
  // A design band has no dataset to walk: it stands at its end.
  if (n == "EOF") return Value(true);
  return TvtView::GetProperty(name);
}

void TvtBandView::SetProperty(const std::string& name, const Value& value) {
  const std::string n = upper_ascii(name);
  if (TvtRunHost* host = RunHost())
    if (host->SetBandProperty(*this, n, value)) return;
  if (const FlagName* f = find_flag(n))
    SetFlag(f->bit, value.to_bool());
  else if (n == "CHILDBAND")
    ChildBand = value.to_string();
  else if (n == "MASTER")
    Master = value.to_string();
  else if (n == "CONDITION" || n == "DATASOURCE")
    FormatText = value.to_string();
  else if (n == "COLUMNS")
    Columns = value.to_int();
  else if (n == "COLUMNGAP")
    ColumnGap = value.to_int();
  else if (n == "COLUMNWIDTH")
    ColumnWidth = value.to_int();
  else if (n == "NEWCOLUMNAFTER")
    NewColumnAfter = value.to_int();
  else
    TvtView::SetProperty(name, value);
}

Value TvtBandView::CallMethod(const std::string& name, const Value& p1, const Value& p2,
                              const Value& p3) {
  // NEXT, PRIOR and FIRST move the dataset of the running band, which serves them.
  const std::string n = upper_ascii(name);
  if (n == "NEXT" || n == "PRIOR" || n == "FIRST") {
    if (TvtRunHost* host = RunHost()) host->CallBandMethod(*this, n);
    return Value::null();
  }
  return TvtView::CallMethod(name, p1, p2, p3);
}

void TvtBandView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  if (stream.version() <= 23) return;
  ChildBand = stream.read_string();
  Columns = stream.read_i32();
  ColumnWidth = stream.read_i32();
  ColumnGap = stream.read_i32();
  NewColumnAfter = stream.read_i32();
  if (RecordVersion * 10 + ExtensionVersion > 20) Master = stream.read_string();
}

void TvtBandView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_string(ChildBand);
  stream.write_i32(Columns);
  stream.write_i32(ColumnWidth);
  stream.write_i32(ColumnGap);
  stream.write_i32(NewColumnAfter);
  stream.write_string(Master);
}

Rect TvtBandView::BandRect() const {
  if (!Parent)
    return {Left, Top, SaturateInt32(int64_t{Left} + Width), SaturateInt32(int64_t{Top} + Height)};
  const PrinterInfo& page = Parent->PrnInfo;
  if (IsCross()) return {Left, 0, SaturateInt32(int64_t{Left} + Width), page.page_height};
  return {0, Top, page.page_width, SaturateInt32(int64_t{Top} + Height)};
}

Region TvtBandView::GetClipRegion(bool enlarged) {
  const Rect r = BandRect();
  const int64_t grow = enlarged ? 10 : 0;
  return Region({SaturateInt32(r.left - grow), SaturateInt32(r.top - grow),
                 SaturateInt32(r.right + grow), SaturateInt32(r.bottom + grow)});
}

void TvtBandView::Draw(Canvas& canvas) {
  if (TvtGlobals::Get().run_mode()) return;
  DrawCanvas = &canvas;
  const Rect r = BandRect();
  CanvasStateSaver saver(canvas);

  Brush dither = Brush::solid(Color::rgb(192, 192, 192));
  dither.style = BrushStyle::Pattern;
  dither.pattern = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  canvas.set_bk_mode(BkMode::Opaque);
  canvas.set_bk_color(kWhite);
  canvas.set_brush(dither);
  canvas.fill_rect(r);

  canvas.set_bk_mode(BkMode::Transparent);
  canvas.set_brush(Brush::clear());
  canvas.set_pen(Pen{kBlack, 1, PenStyle::Solid});
  canvas.rectangle(r);
  if (Columns > 1 && !IsCross()) {
    const int32_t first = Parent ? Parent->PrintableBounds().left : r.left;
    canvas.set_pen(Pen{kBlack, 1, PenStyle::Dot});
    constexpr int32_t kMaxColumnsDrawn = 100;
    for (int32_t i = 0; i < Columns && i < kMaxColumnsDrawn; ++i) {
      const int64_t x = first + int64_t{i} * (int64_t{ColumnWidth} + ColumnGap);
      canvas.rectangle({SaturateInt32(x), r.top, SaturateInt32(x + ColumnWidth), r.bottom});
    }
  }

  FontSelection font;
  font.name = "Arial";
  font.height = -round_half_even_to_int(8.0 * canvas.resolution().y / 72);
  canvas.set_font(font);
  canvas.set_text_color(kBlack);
  canvas.text_out({r.left + 2, r.top + 2}, BandTypeName(BandType()));
}

}  // namespace zr
