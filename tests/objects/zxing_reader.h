#pragma once
// The test reader of Data Matrix and PDF417 (and QR Code) drawings: libzxing, an independent
// implementation, reading a 32-bit bitmap in the process.

// Texts as UTF-8 std::string (the library's coming interface).
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <string>

#include "platform/graphics/bitmap.h"

namespace testing_support {

struct ZxingRead {
  std::string format;  // "QRCode", "DataMatrix", "PDF417"; empty when nothing was read
  std::string text;    // UTF-8, as the code's ECI (or a guess) says
  std::string bytes;   // the code's bytes as they are
};

inline ZxingRead ReadWithZxing(const zr::Bitmap& bitmap) {
  // Cairo's 32-bit pixels are B, G, R, X in memory on this machine (little-endian).
  const ZXing::ImageView image(bitmap.data(), bitmap.width(), bitmap.height(),
                               ZXing::ImageFormat::BGRX, bitmap.stride());
  ZXing::DecodeHints hints;
  hints.setTryHarder(true);
  hints.setTryRotate(true);
  const ZXing::Result result = ZXing::ReadBarcode(image, hints);
  if (!result.isValid()) return {};
  const ZXing::ByteArray& raw = result.bytes();
  return {ZXing::ToString(result.format()), result.text(), std::string(raw.begin(), raw.end())};
}

}  // namespace testing_support
