#pragma once
// Compiles the report script language into the flat line list of compiled_script.h.
//
// The whole script is one statement (several need begin ... end); text after it is ignored.
// Syntax errors never raise: compilation stops at the first one, the lines compiled so far
// are kept (the script runs up to the faulty statement) and one error line is produced,
// "Line <line>/<column>: <message>", both 1-based and counted in the source as written
// (removed comments included, each line with its line break).
//
// Limits, each reported as an error line instead of being overrun: scripts up to
// kMaxScriptSize bytes (line breaks counted), script::kMaxLines compiled lines, and
// kMaxScriptNesting nested statements and bracketed expressions. Labels are unlimited in
// number and length; a goto to a label that is not defined is an error.
//
// Compilation always terminates and never evaluates anything.

#include <cstddef>
#include <string>
#include <vector>

namespace zr {

inline constexpr size_t kMaxScriptSize = 0xFFFF;
inline constexpr int kMaxScriptNesting = 200;

// Replaces `compiled` and `errors` with the result. `source` may be the same list as either
// of them: it is copied before they are emptied.
void CompileScriptLines(const std::vector<std::string>& source, std::vector<std::string>& compiled,
                        std::vector<std::string>& errors);

}  // namespace zr
