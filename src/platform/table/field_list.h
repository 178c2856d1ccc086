#pragma once
// Field lists as index, master and descending field lists are written: names separated by
// ";", blanks (code 32 or less) around each name ignored, empty entries skipped.

#include <string>
#include <string_view>
#include <vector>

namespace zr {

std::vector<std::string> split_field_list(std::string_view list);

}  // namespace zr
