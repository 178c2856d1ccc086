#include "objects/barcode_view.h"

#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/metafile/metafile_recorder.h"

namespace zr {
namespace {

constexpr int32_t kTextSpace = 14;  // pixels kept for the text under the bars
constexpr int kTextHeight = 12;

bool reads_as_number(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const size_t last = text.find_last_not_of(' ');
  for (size_t i = first; i <= last; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

TvtBarCodeView::TvtBarCodeView() {
  NamePrefix = "Bar";
  Memo = {kSampleText};
}

void TvtBarCodeView::RegisterProperties() {
  TvtView::RegisterProperties();
  AddProperty("Barcode");
  AddProperty("DataField");
}

void TvtBarCodeView::Draw(Canvas& canvas) {
  if (Width < 0 || Height < 0) return;
  if (Memo.size() == 1 && Memo[0].empty()) return;
  ApplyBandAlign(&canvas);
  ExpandedMemo = Memo;
  std::string text = kSampleText;
  if (!ExpandedMemo.empty() && !ExpandedMemo[0].starts_with('[')) text = ExpandedMemo[0];
  if (BarcodeTypeIs2D(BarType)) {
    Draw2D(canvas, text);
    return;
  }

  barcode_.Angle = Angle;
  barcode_.Ratio = Ratio;
  barcode_.SetModul(Modul);
  barcode_.Checksum = Checksum;
  barcode_.Typ = BarType;
  barcode_.Color = FillColor == kClNone ? 0xFFFFFF : FillColor;
  if (BarcodeTypeIsNumeric(BarType) && !reads_as_number(text)) text = kSampleText;
  barcode_.SetText(text);

  const bool upright = Angle == 90 || Angle == 270;
  const int32_t code_width = barcode_.Width();
  // What is drawn and shown is the text after one encoding (with its check digit); encoding
  // again could add a second one.
  const std::string shown = barcode_.Text();
  barcode_.SetText(text);
  if (upright)
    Height = code_width;
  else
    Width = code_width;
  if (trimmed(shown) == "0") return;

  const int32_t length = (upright ? Width : Height) - (ShowText ? kTextSpace : 0);
  barcode_.Left = 0;
  barcode_.Top = 0;
  barcode_.Height = length;
  if (BarType == bcCodePostNet && Angle == 0) {
    barcode_.Top = length;
    barcode_.Height = -length;
  } else if (Angle == 180) {
    barcode_.Top = Height - length;
  } else if (Angle == 270) {
    barcode_.Left = Width - length;
  }

  TvtGlobals& g = TvtGlobals::Get();
  MetafileRecorder recorder(Rect{0, 0, Width, Height}, canvas.resolution(), g.fonts);
  barcode_.DrawBarcode(recorder);
  barcode_.SetText(shown);
  if (ShowText) {
    FontSelection font;
    font.name = "Courier New";
    font.height = -kTextHeight;
    font.style = 0;
    font.escapement = static_cast<int>(Angle * 10);
    recorder.set_font(font);
    recorder.set_text_color(kBlack);
    recorder.set_bk_mode(BkMode::Transparent);
    const int32_t tw = recorder.text_extent(shown).width;
    Point at{kTextHeight, (Height - tw) / 2};
    if (Angle == 0)
      at = {(Width - tw) / 2, Height - kTextHeight};
    else if (Angle == 90)
      at = {Width - kTextHeight, Height - (Height - tw) / 2};
    else if (Angle == 180)
      at = {Width - (Width - tw) / 2, kTextHeight};
    recorder.text_out(at, shown);
  }
  const Metafile picture = recorder.finish();

  ScaledGeometry scaled(*this);
  DrawBackground();
  picture.play(canvas, DrawRect);
  DrawFrame();
}

void TvtBarCodeView::Setup2D(const std::string& text) {
  TvtGlobals& g = TvtGlobals::Get();
  barcode_.Angle = Angle;
  barcode_.SetModul(Modul);
  barcode_.Typ = BarType;
  barcode_.Color = FillColor == kClNone ? 0xFFFFFF : FillColor;
  barcode_.CodePage = g.fonts ? g.fonts->code_page() : kDefaultAnsiCodePage;
  barcode_.TextUtf8 = (Reserved & kCodePageText) == 0;
  barcode_.SetText(barcode_.TextUtf8 ? ansi_to_utf8(text, barcode_.CodePage) : text);
  barcode_.Left = 0;
  barcode_.Top = 0;
}

void TvtBarCodeView::Draw2D(Canvas& canvas, const std::string& text) {
  // A failed expression prints nothing, as for the other types.
  if (trimmed(text) == "0") return;
  Setup2D(text);
  const int32_t width = barcode_.Width();
  const int32_t height = barcode_.SymbolHeight();
  const bool upright = Angle == 90 || Angle == 270;
  Width = upright ? height : width;
  Height = upright ? width : height;

  TvtGlobals& g = TvtGlobals::Get();
  MetafileRecorder recorder(Rect{0, 0, Width, Height}, canvas.resolution(), g.fonts);
  barcode_.DrawBarcode(recorder);
  const Metafile picture = recorder.finish();
  ScaledGeometry scaled(*this);
  DrawBackground();
  picture.play(canvas, DrawRect);
  DrawFrame();
}

void TvtBarCodeView::WriteToPreparedPage(ByteWriter& stream) {
  TvtGlobals& g = TvtGlobals::Get();
  ApplyBandAlign(&g.measuring_canvas);
  ExpandedMemo = Memo;
  if (g.CurReport) g.CurReport->EnterRect(ExpandedMemo, *this);
  g.RunScript(Script);
  if (!Visible) return;
  if (!ExpandedMemo.empty() && ExpandedMemo[0].starts_with('[')) {
    // A failed expression prints nothing: "0" is the text that draws no bars.
    try {
      ExpandedMemo[0] = g.GlobalParser.Evaluate(ExpandedMemo[0]).to_string();
    } catch (const ZorelError&) {
      ExpandedMemo[0] = "0";
    }
  }
  if (BarcodeTypeIs2D(BarType)) {
    const std::string text = ExpandedMemo.empty() ? std::string() : ExpandedMemo[0];
    if (trimmed(text) != "0") {
      Setup2D(text);
      barcode_.Matrix();  // raises for a text the symbology refuses
    }
  }
  const std::string kept_tag = Tag;
  if (Tag.find('[') != std::string::npos) Tag = ExpandBrackets(Tag);
  try {
    WritePreparedRecord(stream);
  } catch (...) {
    Tag = kept_tag;
    throw;
  }
  Tag = kept_tag;
}

void TvtBarCodeView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  Checksum = stream.read_u8() != 0;
  ShowText = stream.read_u8() != 0;
  Reserved = stream.read_u8();
  BarType = stream.read_u8();
  Modul = stream.read_i32();
  Ratio = stream.read_double();
  Angle = stream.read_double();
}

void TvtBarCodeView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_u8(Checksum ? 1 : 0);
  stream.write_u8(ShowText ? 1 : 0);
  stream.write_u8(Reserved);
  stream.write_u8(BarType);
  stream.write_i32(Modul);
  stream.write_double(Ratio);
  stream.write_double(Angle);
}

}  // namespace zr
