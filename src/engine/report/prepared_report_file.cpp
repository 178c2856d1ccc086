// The prepared-report file (.zrw) of a report: the file around TvtEMFPages' stream.
#include <fstream>
#include <iterator>

#include "engine/report/report.h"
#include "platform/errors.h"

namespace zr {

void TvtReport::LoadPreparedReport(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw IoError("Cannot open " + path.string());
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw IoError("Cannot read " + path.string());
  ByteReader reader(std::string_view(bytes), path.string());
  EMFPages.LoadFromStream(reader, PrintToDefault);
  PreparedHere = false;
}

void TvtReport::SavePreparedReport(const std::filesystem::path& path) {
  ByteWriter writer;
  EMFPages.SaveToStream(writer);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw IoError("Cannot create " + path.string());
  file.write(writer.bytes().data(), static_cast<std::streamsize>(writer.bytes().size()));
  file.close();
  if (!file) throw IoError("Cannot write " + path.string());
}

}  // namespace zr
