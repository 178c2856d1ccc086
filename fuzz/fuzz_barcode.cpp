// Arbitrary texts encoded in every symbology (the two-dimensional ones too, as UTF-8 or as
// code-page bytes) with arbitrary settings and drawn. Errors are BarcodeError only; every
// element code has a width; the drawing stays on the canvas calls.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "objects/barcode.h"
#include "platform/canvas/trace_canvas.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

double read_double(const uint8_t*& data, size_t& size) {
  double v = 0;
  if (size >= sizeof v) {
    std::memcpy(&v, data, sizeof v);
    data += sizeof v;
    size -= sizeof v;
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  zr::TvtBarcode b;
  b.Typ = static_cast<int8_t>(data[0]) % 26;
  b.Checksum = data[1] & 1;
  b.CheckSumMethod = (data[1] >> 1) & 1;
  b.TextUtf8 = (data[1] >> 2) & 1;
  b.SetModul(data[2] % 60);
  data += 3;
  size -= 3;
  b.Ratio = read_double(data, size);
  b.Angle = read_double(data, size);
  b.Height = 20;
  const std::string text(reinterpret_cast<const char*>(data), size);
  b.SetText(text);
  try {
    const std::string codes = b.Encode();
    for (char c : codes) check(zr::TvtBarcode::ElementWidth(c, b.Widths()) >= 0);
    if (codes.size() < 2000) {
      zr::TraceCanvas canvas;
      b.DrawBarcode(canvas);
    }
  } catch (const zr::BarcodeError&) {
  }
  return 0;
}
