#pragma once
// The section grammar shared by the data page, DataMeta and GridMeta. Lines are trimmed of
// blanks and control characters; a line starting "DATANAME=" (grids: "GRIDNAME=") in any case
// of a-z ends a section and names it, so a section's lines come BEFORE its name line. Lines
// starting "<PRE>" or "</PRE>" are dropped whole; lines after the last name line are
// discarded. Pure functions: nothing here touches files or checks names.

#include <string>
#include <string_view>
#include <vector>

namespace zr {

enum class SectionKind {
  Data,  // data page and DataMeta: keyword "DATANAME=", "M" and "D" are short names
  Grid,  // GridMeta: keyword "GRIDNAME=", names taken as written
};

struct Section {
  std::string name;                // trimmed, a-z upper-cased; may be empty or anything else
  std::vector<std::string> lines;  // trimmed lines, in order
  bool operator==(const Section&) const = default;
};

// Cuts already split lines into sections, in the order of their name lines.
std::vector<Section> cut_sections(const std::vector<std::string>& lines, SectionKind kind);

// Splits `text` into lines (CR LF, LF, CR) and cuts it.
std::vector<Section> cut_sections(std::string_view text, SectionKind kind);

// The section's text as work files and grid views take it: every line followed by CR LF.
std::string join_section_lines(const std::vector<std::string>& lines);

}  // namespace zr
