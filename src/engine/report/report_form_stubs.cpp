// Placeholders until the form file and the prepared-report file land.
#include "engine/report/report.h"

namespace zr {

void TvtReport::LoadFromStream(ByteReader&) {}
void TvtReport::SaveToStream(ByteWriter&) {}
void TvtReport::LoadPreparedReport(const std::filesystem::path&) {}
void TvtReport::SavePreparedReport(const std::filesystem::path&) {}

}  // namespace zr
