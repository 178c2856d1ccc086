#pragma once
// A hash map keyed by text that is searched with a string_view, so a lookup of a name in
// hand builds no string.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zr {

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

}  // namespace zr
