// Reads strings and string lists of both encodings from arbitrary bytes until the data runs
// out or is malformed. Whatever is read must survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/errors.h"

namespace {

template <typename T>
void expect_same(const T& a, const T& b) {
  if (a != b) std::abort();
}

void check_round_trip(const std::vector<std::string>& lines, int version) {
  zr::ByteWriter w;
  try {
    w.write_string_list(lines, version);
  } catch (const zr::ZorelError&) {
    return;  // not representable in this encoding (a 13 inside an old-form line ...)
  }
  zr::ByteReader r(w.bytes(), "<round trip>", version);
  expect_same(r.read_string_list(), lines);
  if (!r.at_end()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the stream version: below 23 or not.
  const int version = (data[0] & 1) ? 22 : 24;
  zr::ByteReader reader(std::span<const uint8_t>(data + 1, size - 1), "<fuzz>", version);
  try {
    while (!reader.at_end()) {
      switch (reader.read_u8() % 6) {
        case 0: {
          std::string text = reader.read_string();
          check_round_trip({text}, 24);
          break;
        }
        case 1:
          check_round_trip(reader.read_string_list(), version);
          break;
        case 2:
          reader.read_string_v23();
          break;
        case 3:
          check_round_trip(reader.read_string_list_v23(), 23);
          break;
        case 4:
          reader.read_extended();
          break;
        case 5:
          reader.skip(reader.read_u8());
          break;
      }
    }
  } catch (const zr::FormatError&) {
    // Malformed input ends the reading; that is the expected outcome.
  }
  return 0;
}
