// A cross view's definition lines, read from arbitrary text, and the table they give over a
// few records whose values come from the same bytes. Nothing may crash; the table's shape
// must stay within what it reports.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/cross_table.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  zr::TvtStrings lines;
  size_t start = 0;
  while (start <= text.size() && lines.size() < 8) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  const auto def = zr::TvtCrossDefinition::Parse(lines);
  if (!def) return 0;
  zr::TvtCross cross(*def);
  size_t record = 0;
  const size_t records = size % 17;
  try {
    cross.Build([&] { return record++ < records; },
                [&](const std::string& field) {
                  // Texts, numbers and nulls mixed by the field and the record.
                  const uint8_t b = data[(record * 7 + field.size()) % size];
                  if (b % 3 == 0) return zr::Value(std::string(1, static_cast<char>('a' + b % 5)));
                  if (b % 3 == 1) return zr::Value(static_cast<int32_t>(b % 7) - 3);
                  return zr::Value::null();
                });
  } catch (const zr::ZorelError&) {
    return 0;
  }
  for (int r = -1; r <= cross.RowCount(); ++r)
    for (int c = -1; c <= cross.ColumnCount(); ++c)
      for (int i = -1; i <= cross.ValueCount(); ++i) cross.Cell(r, c, i);
  if (records == 0 && cross.ColumnCount() != 0) std::abort();
  return 0;
}
