#pragma once
// Building a form file from its JSON description and dumping one back: the two halves of
// zrtool form, over a started tool engine.
//
// A built file is what the engine reads back: the form is written, read and written again,
// so dumping a built file and building the dump gives the same bytes. Fields the engine
// reads differently from what the JSON gave (a page BorderStyle 0 comes back as 3) are
// reported through `warn`, one message each with the field's path.

#include <functional>
#include <string>
#include <string_view>

#include "json_fields.h"
#include "tool_engine.h"

namespace zr::tool {

// The form file's bytes. Raises FormatError (naming `source` and the key's path) for a
// description that does not map, and ZorelError when the engine cannot write or read the
// form back.
std::string BuildForm(ToolEngine& engine, const Json& form, const std::string& source,
                      int code_page, const std::function<void(const std::string&)>& warn);

// The description of a form file's bytes. Raises FormatError when the form does not load
// and ZorelError for objects without a JSON form (add-ins).
Json DumpForm(ToolEngine& engine, std::string_view bytes, const std::string& source, int code_page);

}  // namespace zr::tool
