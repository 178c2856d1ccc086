// The page list a user types for printing ("1,3,5-12"), read from arbitrary text for a report
// of a size taken from the first bytes. Nothing may crash; a list either fails with a
// conversion error or answers, and an empty (or all-blank) text selects every page.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/report/page_list.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int count = data[0] | (data[1] << 8);
  std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  try {
    zr::PageList list = zr::PageList::Parse(text, count);
    for (int page = -1; page <= count + 1; ++page) list.contains(page);
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos && !list.all()) std::abort();
  } catch (const zr::ConversionError&) {
  }
  return 0;
}
