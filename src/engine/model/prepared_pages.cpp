// Placeholder until prepared pages land.
#include "engine/model/prepared_pages.h"

namespace zr {

TvtEMFPages::TvtEMFPages() = default;
TvtEMFPages::~TvtEMFPages() = default;
void TvtEMFPages::Add(const TvtPage& form_page) {
  Insert(Count(), form_page);
}
void TvtEMFPages::Insert(int, const TvtPage&) {}
void TvtEMFPages::Delete(int) {}
void TvtEMFPages::Move(int, int) {}
void TvtEMFPages::Draw(int, Canvas&, const Rect&) {}
void TvtEMFPages::ExportPage(int) {}
void TvtEMFPages::ObjectsToPage(int) {}
void TvtEMFPages::PageToObjects(int) {}
bool TvtEMFPages::HitTestObject(int, Point, bool, int&, TvtView**) {
  return false;
}
void TvtEMFPages::LoadFromStream(ByteReader&) {}
void TvtEMFPages::SaveToStream(ByteWriter&) {}

}  // namespace zr
