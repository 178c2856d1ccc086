#pragma once
// Where SaveImage writes: an empty ImageName gives "ZorelImage." + the ImageType's default
// extension in the work folder; a relative name is taken inside the work folder as written (no
// extension added, sub-folders not created); an absolute name is used as it is, and the
// export creates its missing folders first.

#include <filesystem>
#include <string>

#include "viewer/work_folder.h"

namespace zr {

struct OutputFile {
  std::filesystem::path path;
  bool absolute = false;  // named by the host: its folders are created before exporting
};

// `image_name` is ANSI; the path is in the file system's encoding (UTF-8). For an ImageType
// outside 0-9 an empty name gives "ZorelImage" without extension (nothing is exported to it).
OutputFile output_file_for(const WorkFolder& folder, int image_type, const std::string& image_name);

// Creates every missing folder above `file`; false when that fails.
bool create_parent_folders(const std::filesystem::path& file);

}  // namespace zr
