#pragma once
// The engine's numbered interface texts (53000 onward), in one table. A number the table
// does not hold gives an empty text, as a missing resource string does. Texts are ANSI bytes.

#include <string>

namespace zr {

// Interface text numbers used in code.
inline constexpr int kStrVirtualPrinter = 55007;
inline constexpr int kStrFirstPaperName = 55008;  // + row of the paper table
inline constexpr int kStrDefaultBin = 55435;
inline constexpr int kStrFirstBandName = 55077;  // + band type code (0-22)

// The text of number `id`; "" when there is none.
std::string LoadStr(int id);

}  // namespace zr
