#pragma once
// The table of standard papers by their Windows paper numbers, the papers the virtual
// printer offers and the numbers real printers' papers are known by. Sizes are portrait, in
// tenths of a millimetre.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zr {

inline constexpr int kPaperA4 = 9;
inline constexpr int kPaperCustom = 256;
inline constexpr int kPaperTableRows = 67;

// One row of the paper table.
struct TPaperInfo {
  int code = 0;
  std::string name;  // interface text kStrFirstPaperName + row
  int32_t width = 0;
  int32_t height = 0;
};

// The rows with their names, in table order; the last row is the custom size 256 (0 x 0).
std::vector<TPaperInfo> load_paper_table();

// The row index of paper number `code`, nullopt when the table has none.
std::optional<int> paper_table_row(int code);

// The paper number of a portrait paper of `width` x `height`: the first table row whose
// width and height each differ by at most `tolerance`, else kPaperCustom. Sizes the system
// reports in other units round to within a few hundredths of a millimetre, hence the slack.
int paper_code_for_size(int32_t width, int32_t height, int32_t tolerance = 2);

}  // namespace zr
