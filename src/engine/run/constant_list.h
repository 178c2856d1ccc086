#pragma once
// The named constants that expressions can use (colours, modal results, font styles, frame
// sides, alignments, pen styles, message box flags). Name lookup falls back to them last.

#include "engine/model/variables.h"

namespace zr {

// Makes `list` sorted and sets every constant in it (entries of other names are kept).
// Colours are 32-bit signed integers (system colours are negative), "CRLF" the text CR LF,
// "Null" the null value, the rest small integers.
void FillConstantList(TvtVariables& list);

}  // namespace zr
