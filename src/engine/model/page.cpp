// Placeholder until pages land.
#include "engine/model/page.h"

#include "engine/report/tvt_globals.h"

namespace zr {

TvtPage::TvtPage() {
  const TvtPrinter& printer = TvtGlobals::Get().printer;
  SetPaper(printer.paper_code(), printer.paper_width(), printer.paper_height(), 0, kDefaultBin);
}
TvtPage::~TvtPage() = default;
void TvtPage::SetProperty(const std::string&, const Value&) {}
Value TvtPage::GetProperty(const std::string&) {
  return Value::null();
}
void TvtPage::RegisterProperties() {
  PropRec.clear();
}
void TvtPage::SetPaper(int32_t size, int32_t width, int32_t height, uint8_t orientation,
                       int32_t bin) {
  TvtPrinter& printer = TvtGlobals::Get().printer;
  auto orient = orientation ? PrinterOrientation::Landscape : PrinterOrientation::Portrait;
  printer.SetPrinterInfo(size, width, height, orient, bin, false);
  if (printer.paper_code() != size)
    printer.SetPrinterInfo(kPaperCustomSize, width, height, orient, -1, false);
  PageSize = printer.paper_code();
  PageWidth = printer.paper_width();
  PageHeight = printer.paper_height();
  Orientation = static_cast<uint8_t>(printer.orientation());
  Bin = is_default_bin(bin) ? kDefaultBin : printer.bin();
  printer.FillPrnInfo(PrnInfo);
}

Rect TvtPage::PrintableBounds() const {
  if (!UseMargins) return {0, 0, PrnInfo.page_width, PrnInfo.page_height};
  Rect r;
  r.left = LeftMargin ? LeftMargin : PrnInfo.offset_x;
  r.top = TopMargin ? TopMargin : PrnInfo.offset_y;
  r.right =
      RightMargin ? PrnInfo.page_width - RightMargin : PrnInfo.offset_x + PrnInfo.printable_width;
  r.bottom = BottomMargin ? PrnInfo.page_height - BottomMargin
                          : PrnInfo.offset_y + PrnInfo.printable_height;
  return r;
}

TvtView* TvtPage::Add(std::unique_ptr<TvtView> view) {
  view->Parent = this;
  Objects.push_back(std::move(view));
  return Objects.back().get();
}
TvtView* TvtPage::FindObject(std::string_view name) const {
  for (const auto& v : Objects)
    if (v->Name == name) return v.get();
  return nullptr;
}
void TvtPage::LoadFromStream(ByteReader&, int) {}
void TvtPage::SaveToStream(ByteWriter&) const {}

TvtPage& TvtPages::Add() {
  items_.push_back(std::make_unique<TvtPage>());
  return *items_.back();
}
void TvtPages::Move(int, int) {}
void TvtPages::ApplyBandAlignments() {}

}  // namespace zr
