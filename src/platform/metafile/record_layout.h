#pragma once
// Pieces of record layout both metafile formats share: device-independent bitmaps, the
// bounds of point lists and the advances of text records.

#include <memory>
#include <span>
#include <string_view>

#include "platform/byte_stream.h"
#include "platform/canvas/geometry.h"
#include "platform/graphics/bitmap.h"

namespace zr {

inline constexpr int kDibHeaderSize = 40;  // BITMAPINFOHEADER

// A BITMAPINFOHEADER for a bottom-up DIB, then its rows. 32 bits: the bitmap's premultiplied
// pixels as they are (B, G, R, A bytes); 24 bits, for readers that know no alpha: the pixels
// over white.
void write_dib(ByteWriter& out, const Bitmap& bitmap, int bit_count = 32);

// The bitmap of a DIB given as its info part (header and colour table) and its bits. 24- and
// 32-bit uncompressed DIBs are understood (32-bit ones without any alpha are opaque); other
// kinds give nullptr, for the record to be skipped. Raises FormatError through `where` when
// the header is malformed or the bits are shorter than the header says.
std::shared_ptr<const Bitmap> read_dib(std::string_view info, std::string_view bits,
                                       const ByteReader& where);

// A rectangle from a corner and a size as files give them, saturated instead of overflowing.
Rect rect_from_size(int64_t left, int64_t top, int64_t width, int64_t height);

// The smallest rectangle holding the points, right and bottom exclusive.
Rect points_bounds(std::span<const Point> points);

// The advance of one character made of the units dx[from] .. dx[from + count - 1] (those
// past the end count as nothing): their sum, saturated, as files give any values.
int character_advance(std::span<const int> dx, size_t from, size_t count);

}  // namespace zr
