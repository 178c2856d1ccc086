#pragma once
// The text a host gives a grid view (MetaString): one record a line, each a list of KEY=VALUE
// fields separated by the character with code 1. Blanks are kept by writing them as the
// seven characters "\nSPACE" before the fields are split, since a blank would end a field.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

inline constexpr std::string_view kGridSpace = "\\nSPACE";

struct GridMetaField {
  std::string key;
  std::string value;  // with "\nSPACE" where the host wrote a blank
};

struct GridMetaRecord {
  std::vector<GridMetaField> fields;

  // The value of the first field with `key` (ignoring case); nullopt when there is none.
  std::optional<std::string> Find(std::string_view key) const;
  // The value as text, "\nSPACE" back to blanks; empty for a missing key.
  std::string Text(std::string_view key) const;
  // The value as a decimal integer ("$" reads hexadecimal); ConversionError when it is not
  // one (also for a missing key).
  int32_t Int(std::string_view key) const;
  // "BAND" or "MEMO" (the TYPE upper-cased).
  std::string Kind() const;
};

// The BAND and MEMO records of `meta_string` in order; other records are dropped. Never
// throws.
std::vector<GridMetaRecord> ParseGridMeta(std::string_view meta_string);

// "\nSPACE" turned back into blanks.
std::string GridMetaUnescape(std::string_view value);

}  // namespace zr
