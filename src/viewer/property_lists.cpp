#include "viewer/property_lists.h"

#include <system_error>

#include "viewer/delimited_list.h"

namespace zr {

void apply_params(std::string_view params, VariableTarget& target) {
  DelimitedList list = DelimitedList::parse(params);
  for (const ListItem& item : list.items()) {
    if (item.name.empty() || !target.variable_exists(item.name)) continue;
    target.set_variable(item.name, list.value_of(item.name));
  }
}

void apply_image_files(std::string_view image_files, PictureViewTarget& target) {
  DelimitedList list = DelimitedList::parse(image_files);
  if (list.items().empty()) return;
  for (size_t i = 0; i < target.picture_view_count(); ++i) {
    std::string name = target.picture_view_name(i);
    if (name.empty()) continue;
    std::string path = list.value_of(name);
    std::error_code ec;
    if (path.empty() || path.find('\0') != std::string::npos ||
        !std::filesystem::is_regular_file(path, ec))
      continue;
    target.load_picture(i, path);
  }
}

}  // namespace zr
