#include "viewer/output_file_name.h"

#include <system_error>

#include "platform/codepage.h"
#include "viewer/export_filter_set.h"

namespace zr {

OutputFile output_file_for(const WorkFolder& folder, int image_type,
                           const std::string& image_name) {
  if (image_name.empty()) {
    std::string name = "ZorelImage";
    if (const ExportFormatInfo* info = image_type_info(image_type))
      name += "." + std::string(info->extension);
    return {folder.root() / name, false};
  }
  std::filesystem::path named(ansi_to_utf8(image_name));
  if (named.is_absolute()) return {named, true};
  return {folder.root() / named, false};
}

bool create_parent_folders(const std::filesystem::path& file) {
  const std::filesystem::path parent = file.parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  return !ec && std::filesystem::is_directory(parent, ec);
}

}  // namespace zr
