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
  PageSize = size;
  PageWidth = width;
  PageHeight = height;
  Orientation = orientation;
  Bin = bin;
}
Rect TvtPage::PrintableBounds() const {
  return {};
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
