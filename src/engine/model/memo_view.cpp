// Placeholder until the memo lands.
#include "engine/model/memo_view.h"

namespace zr {

TvtMemoView::TvtMemoView() {
  NamePrefix = "Memo";
  ObjectType = kObjMemo;
  Flags = 3;
}
void TvtMemoView::SetProperty(const std::string& n, const Value& v) {
  TvtView::SetProperty(n, v);
}
Value TvtMemoView::GetProperty(const std::string& n) {
  return TvtView::GetProperty(n);
}
Value TvtMemoView::CallMethod(const std::string& n, const Value& a, const Value& b,
                              const Value& c) {
  return TvtView::CallMethod(n, a, b, c);
}
void TvtMemoView::RegisterProperties() {
  TvtView::RegisterProperties();
}
void TvtMemoView::LoadFromBlobField(const std::optional<std::string>&) {}
void TvtMemoView::Draw(Canvas&) {}
void TvtMemoView::WriteToPreparedPage(ByteWriter& stream) {
  TvtView::WriteToPreparedPage(stream);
}
void TvtMemoView::ExportTo() {}
void TvtMemoView::LoadFromStream(ByteReader& stream) {
  TvtView::LoadFromStream(stream);
}
void TvtMemoView::SaveToStream(ByteWriter& stream) {
  TvtView::SaveToStream(stream);
}
int32_t TvtMemoView::CalcHeight() {
  return 0;
}
int32_t TvtMemoView::MinimalHeight() {
  return 0;
}
int32_t TvtMemoView::LeftoverHeight() {
  return 0;
}
void TvtMemoView::ExpandMemo() {
  ExpandedMemo = Memo;
}
int32_t TvtMemoView::WrapText() {
  return 0;
}

}  // namespace zr
