// Placeholders until the view behaviour lands.
#include "engine/model/view.h"

namespace zr {

void TvtView::SetProperty(const std::string&, const Value&) {}
Value TvtView::GetProperty(const std::string&) {
  return Value::null();
}
Value TvtView::CallMethod(const std::string&, const Value&, const Value&, const Value&) {
  return Value::null();
}
void TvtView::RegisterProperties() {
  PropRec.clear();
}
void TvtView::DrawBackground() {}
void TvtView::DrawFrame() {}
void TvtView::LoadFromBlobField(const std::optional<std::string>&) {}
void TvtView::ApplyScale() {}
void TvtView::RestoreGeometry() {}
void TvtView::Draw(Canvas&) {}
void TvtView::WriteToPreparedPage(ByteWriter& stream) {
  if (Visible) WritePreparedRecord(stream);
}
void TvtView::ExportTo() {}
Region TvtView::GetClipRegion(bool) {
  return Region(Rect::from_size(Left, Top, Width, Height));
}
void TvtView::AssignFrom(TvtView&) {}
void TvtView::CreateUniqueName() {}
std::string TvtView::ExpandBrackets(const std::string& text) {
  return text;
}
void TvtView::ApplyBandAlign(Canvas*) {}
void TvtView::ApplyBandRelativeAlign() {}

}  // namespace zr
