#include "platform/graphics/metafile_header.h"

#include <cstdlib>

#include "platform/byte_stream.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr double kPixelsPerInch = 96;
constexpr double kHundredthMmPerInch = 2540;

int to_pixels(int64_t units, double units_per_inch) {
  return round_half_even_to_int(static_cast<double>(std::llabs(units)) * kPixelsPerInch /
                                units_per_inch);
}

}  // namespace

bool is_enhanced_metafile(std::string_view bytes) {
  if (bytes.size() < 44) return false;
  ByteReader r(bytes, "EMF");
  if (r.read_u32() != kEmrHeader) return false;
  r.seek(40);
  return r.read_u32() == kEmfSignature;
}

ImageSize read_metafile_size(std::string_view bytes) {
  if (is_enhanced_metafile(bytes)) {
    ByteReader r(bytes, "EMF");
    r.seek(24);  // type, size, bounds
    int64_t left = r.read_i32(), top = r.read_i32(), right = r.read_i32(), bottom = r.read_i32();
    return {to_pixels(right - left, kHundredthMmPerInch),
            to_pixels(bottom - top, kHundredthMmPerInch)};
  }
  ByteReader r(bytes, "WMF");
  if (bytes.size() < 4 || r.read_u32() != kPlaceableKey)
    throw FormatError("Not an enhanced or placeable Windows metafile", "metafile");
  r.read_u16();  // handle
  int64_t left = r.read_i16(), top = r.read_i16(), right = r.read_i16(), bottom = r.read_i16();
  uint16_t units_per_inch = r.read_u16();
  r.skip(6);  // reserved, checksum
  uint16_t type = r.read_u16(), header_words = r.read_u16();
  if (units_per_inch == 0) r.fail("Placeable metafile has no units per inch");
  if ((type != 1 && type != 2) || header_words != 9) r.fail("Invalid Windows metafile header");
  return {to_pixels(right - left, units_per_inch), to_pixels(bottom - top, units_per_inch)};
}

}  // namespace zr
