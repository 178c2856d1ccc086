#pragma once
// Windows bitmap files (.bmp) and the headerless device-independent bitmaps inside icons.
//
// Reading covers 1-, 4-, 8-, 16-, 24- and 32-bit pixels, bottom-up and top-down rows, BI_RGB,
// BI_BITFIELDS, BI_ALPHABITFIELDS, BI_RLE8 and BI_RLE4, and the OS/2 core, info and V2-V5
// headers. As in Windows, the fourth byte of 32-bit BI_RGB pixels is not alpha (except in
// icons); alpha is read only through a bit-field mask. Pixels that RLE data skips stay
// transparent; palette indices past the palette are black.
//
// Every reader raises FormatError on malformed or truncated input and checks the declared
// size against DecodeLimits before allocating.

#include <string>
#include <string_view>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/decode_limits.h"

namespace zr {

enum class BmpPixelFormat {
  k1Bit,   // black and white: luminance >= 128 is white
  k4Bit,   // 16-colour palette built from the image (exact when it has <= 16 colours)
  k8Bit,   // 256-colour palette built from the image (exact when it has <= 256 colours)
  k15Bit,  // BI_RGB 16-bit 5-5-5; channels keep their top 5 bits
  k16Bit,  // BI_BITFIELDS 16-bit 5-6-5
  k24Bit,  // BI_RGB
  k32Bit,  // BITMAPV4HEADER with BI_BITFIELDS and an alpha mask: keeps transparency
};

// The size a BMP file's header declares, without decoding the pixels.
ImageSize read_bmp_size(std::string_view file);
Bitmap decode_bmp(std::string_view file, const DecodeLimits& limits = {});

// A DIB as stored in an icon: info header, palette, pixels, then (when `icon_mask`) the
// 1-bit AND mask; the header's height counts both images. A 32-bit icon with any non-zero
// alpha uses it; otherwise set mask bits make pixels transparent.
Bitmap decode_dib(std::string_view dib, bool icon_mask, const DecodeLimits& limits = {});
ImageSize read_dib_size(std::string_view dib, bool icon_mask);

// A complete BMP file at 96 dpi. Formats without alpha store pixels drawn over white.
// Deterministic. Raises ZorelError (Argument) for an empty bitmap.
std::string encode_bmp(const Bitmap& bitmap, BmpPixelFormat format = BmpPixelFormat::k24Bit);

}  // namespace zr
