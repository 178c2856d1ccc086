#include "objects/check_box_view.h"

#include <cmath>

#include "engine/model/export_filter.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace zr {
namespace {

constexpr char kCrossMark = static_cast<char>(0xFB);
constexpr char kCheckMark = static_cast<char>(0xFC);

}  // namespace

TvtCheckBoxView::TvtCheckBoxView() {
  NamePrefix = "Check";
  FrameWidth = 2.0f;
  FrameTyp = kFrameAll;
  if (TvtGlobals* g = TvtGlobals::Find()) {
    g->ConstantList.SetVariable("csCross", Value(int32_t{csCross}));
    g->ConstantList.SetVariable("csCheck", Value(int32_t{csCheck}));
  }
}

bool TvtCheckBoxView::Checked(const TvtStrings& memo) {
  return !memo.empty() && !memo[0].empty() && memo[0][0] != '0';
}

void TvtCheckBoxView::RegisterProperties() {
  TvtView::RegisterProperties();
  AddProperty("CheckStyle", "csCross;csCheck", {0, 1});
  AddProperty("CheckColor");
  AddProperty("DataField");
}

Value TvtCheckBoxView::GetProperty(const std::string& name) {
  const std::string n = upper_ascii(name);
  if (n == "CHECKSTYLE") return Value(int32_t{CheckStyle});
  if (n == "CHECKCOLOR") return Value(CheckColor);
  return TvtView::GetProperty(name);
}

void TvtCheckBoxView::SetProperty(const std::string& name, const Value& value) {
  const std::string n = upper_ascii(name);
  if (n == "CHECKSTYLE")
    CheckStyle = static_cast<uint8_t>(value.to_int());
  else if (n == "CHECKCOLOR")
    CheckColor = value.to_int();
  else
    TvtView::SetProperty(name, value);
}

void TvtCheckBoxView::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  ExpandedMemo = Memo;
  ScaledGeometry scaled(*this);
  DrawBackground();
  TvtGlobals& g = TvtGlobals::Get();
  if (!g.FirstPass && (!g.run_mode() || Checked(ExpandedMemo))) {
    CanvasStateSaver saver(canvas);
    FontSelection font;
    font.name = "Wingdings";
    font.charset = kDefaultCharset;
    font.style = 0;
    font.height = -DrawRect.height();
    canvas.set_font(font);
    canvas.set_text_color(Color(static_cast<uint32_t>(CheckColor)));
    canvas.set_bk_mode(BkMode::Transparent);
    const std::string mark(1, CheckStyle == csCheck ? kCheckMark : kCrossMark);
    const int32_t x = DrawRect.left + (DrawRect.width() - canvas.text_extent(mark).width) / 2;
    TextOutParams params;
    params.rect = DrawRect;
    params.clipped = true;
    canvas.text_out({x, DrawRect.top}, mark, params);
  }
  DrawFrame();
}

void TvtCheckBoxView::WriteToPreparedPage(ByteWriter& stream) {
  TvtGlobals& g = TvtGlobals::Get();
  ApplyBandAlign(&g.measuring_canvas);
  ExpandedMemo = Memo;
  if (g.CurReport) g.CurReport->EnterRect(ExpandedMemo, *this);
  g.RunScript(Script);
  if (!Visible) return;
  const std::string kept_tag = Tag;
  try {
    if (Tag.find('[') != std::string::npos) Tag = ExpandBrackets(Tag);
    if (!ExpandedMemo.empty()) {
      // A condition becomes a number: true a non-zero one, false "0".
      const double number = g.GlobalParser.Evaluate(ExpandedMemo[0]).to_double();
      ExpandedMemo[0] = std::to_string(truncate_toward_zero(number));
    }
    WritePreparedRecord(stream);
  } catch (...) {
    Tag = kept_tag;
    throw;
  }
  Tag = kept_tag;
}

void TvtCheckBoxView::ExportTo() {
  TvtView::ExportTo();
  TvtReport* report = TvtGlobals::Get().CurReport;
  if (report && report->ExportFilter)
    report->ExportFilter->OnText(DrawRect, Left, Top, Checked(Memo) ? "X" : "", FrameTyp, 0, *this);
}

void TvtCheckBoxView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  if (stream.version() <= 23) return;
  CheckStyle = stream.read_u8();
  CheckColor = stream.read_i32();
}

void TvtCheckBoxView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_u8(CheckStyle);
  stream.write_i32(CheckColor);
}

}  // namespace zr
