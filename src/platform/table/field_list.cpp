#include "platform/table/field_list.h"

#include "platform/text_lines.h"

namespace zr {

std::vector<std::string> split_field_list(std::string_view list) {
  std::vector<std::string> names;
  while (true) {
    size_t cut = list.find(';');
    std::string_view name = trim_blanks(list.substr(0, cut));
    if (!name.empty()) names.emplace_back(name);
    if (cut == std::string_view::npos) break;
    list.remove_prefix(cut + 1);
  }
  return names;
}

}  // namespace zr
