// Builds arbitrary text as the JSON description of a form. A description either fails with a
// ZorelError (malformed JSON, unknown keys, wrong types) or gives a form file whose dump
// builds the very same bytes again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "form_build.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "tool_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zr::tool::ToolEngine engine;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto ignore = [](const std::string&) {};
  std::string built;
  try {
    zr::tool::Json form = zr::tool::Json::parse(text, nullptr, true, true);
    built = zr::tool::BuildForm(engine, form, "<fuzz>", zr::kDefaultAnsiCodePage, ignore);
  } catch (const zr::tool::Json::exception&) {
    return 0;
  } catch (const zr::ZorelError&) {
    return 0;
  }
  zr::tool::Json dumped = zr::tool::DumpForm(engine, built, "<built>", zr::kDefaultAnsiCodePage);
  std::string again = zr::tool::BuildForm(engine, dumped, "<dumped>", zr::kDefaultAnsiCodePage,
                                          [](const std::string&) { std::abort(); });
  if (again != built) std::abort();
  return 0;
}
