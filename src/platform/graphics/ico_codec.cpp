#include "platform/graphics/ico_codec.h"

#include <optional>

#include "platform/byte_stream.h"
#include "platform/errors.h"
#include "platform/graphics/bmp_codec.h"

namespace zr {

namespace {

constexpr const char* kFormat = "ICO";
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";

struct Entry {
  std::string_view data;
  ImageSize size;
  int bits = 0;
};

uint16_t bits_of_dib(std::string_view dib) {
  ByteReader r(dib, kFormat);
  uint32_t header = r.read_u32();
  r.skip(header == 12 ? 6 : 10);  // to the bit count
  return r.read_u16();
}

// The best image entry that is a DIB; raises when there is none.
Entry choose(std::string_view file) {
  ByteReader r(file, kFormat);
  if (r.read_u16() != 0) r.fail("Not an icon file");
  uint16_t type = r.read_u16();
  if (type != 1 && type != 2) r.fail("Not an icon file");
  uint16_t count = r.read_u16();
  if (count == 0) r.fail("Icon file has no images");
  std::optional<Entry> best;
  bool saw_png = false;
  for (uint16_t i = 0; i < count; ++i) {
    r.skip(8);  // sizes, colour count, planes or hot spot, bit count: the DIB header rules
    uint32_t size = r.read_u32(), offset = r.read_u32();
    if (offset > file.size() || size > file.size() - offset) continue;  // damaged entry
    Entry entry{file.substr(offset, size), {}, 0};
    if (entry.data.substr(0, kPngSignature.size()) == kPngSignature) {
      saw_png = true;
      continue;
    }
    try {
      entry.size = read_dib_size(entry.data, true);
      entry.bits = bits_of_dib(entry.data);
    } catch (const FormatError&) {
      continue;
    }
    int64_t area = int64_t{entry.size.width} * entry.size.height;
    if (!best || area > int64_t{best->size.width} * best->size.height ||
        (area == int64_t{best->size.width} * best->size.height && entry.bits > best->bits))
      best = entry;
  }
  if (!best)
    throw FormatError(saw_png ? "PNG-compressed icon images are not supported"
                              : "Icon file has no readable image",
                      kFormat);
  return *best;
}

}  // namespace

ImageSize read_ico_size(std::string_view file) {
  return choose(file).size;
}

Bitmap decode_ico(std::string_view file, const DecodeLimits& limits) {
  return decode_dib(choose(file).data, true, limits);
}

}  // namespace zr
