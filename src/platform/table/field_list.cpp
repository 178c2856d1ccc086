#include "platform/table/field_list.h"

namespace zr {
namespace {

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

}  // namespace

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
