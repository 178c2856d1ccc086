#include "viewer/component_names.h"

#include <algorithm>
#include <unordered_set>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace zr {
namespace {

bool is_ascii_letter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool is_ascii_digit(char c) {
  return c >= '0' && c <= '9';
}

// Keeps a hostile name readable in the message: bytes outside printable ASCII as \xNN.
std::string printable(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : name.substr(0, std::min<size_t>(name.size(), 80))) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 127 && c != '\\') {
      out += c;
    } else {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  if (name.size() > 80) out += "...";
  return out;
}

[[noreturn]] void reject(std::string_view name, const std::string& why) {
  throw ZorelError("Invalid section name \"" + printable(name) + "\": " + why, ErrorKind::Argument);
}

}  // namespace

bool is_valid_component_name(std::string_view name) {
  if (name.empty() || is_ascii_digit(name.front())) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return is_ascii_letter(c) || is_ascii_digit(c) || c == '_'; });
}

bool is_form_component_name(std::string_view name) {
  return std::any_of(kFormComponentNames.begin(), kFormComponentNames.end(),
                     [&](std::string_view known) { return same_text_ascii(known, name); });
}

void check_section_name(std::string_view name) {
  if (!is_valid_component_name(name))
    reject(name,
           "a section name must be letters, digits and underscores, not starting with a digit");
  if (name.size() > kMaxSectionNameLength)
    reject(name, "a section name must not be longer than " + std::to_string(kMaxSectionNameLength) +
                     " characters");
  if (is_form_component_name(name))
    reject(name, "the name belongs to a component of the viewer's form");
}

void check_section_names_apart(const std::vector<std::string>& names) {
  std::unordered_set<std::string> upper_names;
  for (const std::string& name : names) upper_names.insert(upper_ascii(name));
  for (const std::string& name : names) {
    for (std::string_view prefix : {std::string_view("DS"), std::string_view("dataset")}) {
      if (name.size() <= prefix.size() || !same_text_ascii(name.substr(0, prefix.size()), prefix))
        continue;
      std::string_view base = std::string_view(name).substr(prefix.size());
      if (upper_names.count(upper_ascii(base)))
        reject(name, "it is the name of the " + std::string(prefix) +
                         " component of the section \"" + std::string(base) + "\"");
    }
  }
}

}  // namespace zr
