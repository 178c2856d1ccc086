// Reads a data dictionary record from arbitrary bytes (the first byte picks the stream
// version, so both string-list encodings of the oldest layout are reached). What was read
// must save, and the saved record must read back and save to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/model/data_dictionary.h"
#include "platform/byte_stream.h"
#include "platform/errors.h"

namespace {

std::string save(const zr::TvtDataDictionary& dict) {
  zr::ByteWriter writer;
  dict.SaveToStream(writer);
  return writer.take();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int version = data[0] % 2 ? zr::kCurrentStreamVersion : 22;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  zr::TvtDataDictionary dict;
  std::string once;
  try {
    zr::ByteReader reader(bytes, "<fuzz>", version);
    dict.LoadFromStream(reader);
    once = save(dict);
  } catch (const zr::ZorelError&) {
    return 0;
  }
  zr::TvtDataDictionary again;
  zr::ByteReader reader(std::string_view(once), "<saved>");
  again.LoadFromStream(reader);
  if (save(again) != once) std::abort();
  return 0;
}
