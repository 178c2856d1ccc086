// Loads the input as a data packet and walks every row and field, nested tables included.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace {

void walk(zr::ClientDataset& table, int depth) {
  for (table.first(); !table.eof(); table.next()) {
    for (size_t f = 0; f < table.field_count(); ++f) {
      table.value(f);
      table.display_text(f);
      table.blob_bytes(f);
      if (zr::ClientDataset* nested = table.nested_dataset(f); nested && depth < 4)
        walk(*nested, depth + 1);
    }
  }
  if (table.field_count() > 0) {
    // Ordering by each field exercises the comparisons of every type.
    for (size_t f = 0; f < table.field_count(); ++f) {
      table.add_index("ix" + std::to_string(f), table.field(f).name, {.descending = f % 2 == 1});
      table.set_index_name("ix" + std::to_string(f));
    }
    table.last();
    table.get_bookmark();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zr::ClientDataset table("fuzz");
  try {
    table.load_from_bytes(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    walk(table, 0);
  } catch (const zr::ZorelError&) {
  }
  return 0;
}
