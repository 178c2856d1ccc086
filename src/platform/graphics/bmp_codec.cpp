#include "platform/graphics/bmp_codec.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/errors.h"
#include "platform/graphics/color_palette.h"

namespace zr {

namespace {

constexpr const char* kFormat = "BMP";
constexpr uint16_t kSignature = 0x4D42;  // "BM"
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5,
                   kBiAlphaBitfields = 6;
constexpr int32_t kPixelsPerMetre96Dpi = 3780;

// One colour channel taken out of a 16- or 32-bit pixel by its mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;  // the mask's value range

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    int bits = std::popcount(m);
    max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  }
  uint8_t take(uint32_t pixel, uint8_t absent) const {
    if (!mask) return absent;
    uint64_t v = std::min<uint64_t>((pixel & mask) >> shift, max);
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

struct DibHeader {
  int width = 0;
  int height = 0;  // of the colour image (an icon's doubled height halved)
  bool top_down = false;
  int bits = 0;
  uint32_t compression = kBiRgb;
  Channel red, green, blue, alpha;
  std::vector<Argb> palette;
};

// Reads an info header and its palette; the reader is left after the palette.
DibHeader read_dib_header(ByteReader& r, bool icon) {
  DibHeader h;
  const size_t start = r.position();
  const uint32_t size = r.read_u32();
  bool core = size == 12;
  if (core) {
    h.width = r.read_u16();
    h.height = r.read_u16();
  } else if (size >= 40 && size <= 124) {
    h.width = r.read_i32();
    int32_t height = r.read_i32();
    if (height == INT32_MIN) r.fail("BMP height is out of range");
    h.top_down = height < 0;
    h.height = height < 0 ? -height : height;
  } else {
    r.fail("Unsupported BMP header size " + std::to_string(size));
  }
  r.read_u16();  // planes
  h.bits = r.read_u16();
  uint32_t colors_used = 0;
  uint32_t masks[4] = {0, 0, 0, 0};
  if (!core) {
    h.compression = r.read_u32();
    r.skip(12);  // image size, resolution
    colors_used = r.read_u32();
    r.read_u32();  // important colours
    int in_header = size >= 56 ? 4 : size >= 52 ? 3 : 0;
    for (int i = 0; i < in_header; ++i) masks[i] = r.read_u32();
    r.seek(start + size);
    if (in_header == 0 && h.compression == kBiBitfields)
      for (int i = 0; i < 3; ++i) masks[i] = r.read_u32();
    if (in_header == 0 && h.compression == kBiAlphaBitfields)
      for (int i = 0; i < 4; ++i) masks[i] = r.read_u32();
  }
  if (icon) h.height /= 2;
  if (h.width <= 0 || h.height <= 0) r.fail("BMP image has no pixels");

  switch (h.compression) {
    case kBiRgb:
      break;
    case kBiRle8:
    case kBiRle4:
      if (h.bits != (h.compression == kBiRle8 ? 8 : 4)) r.fail("BMP RLE with a wrong bit count");
      if (h.top_down) r.fail("BMP RLE image cannot be top-down");
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (h.bits != 16 && h.bits != 32) r.fail("BMP bit fields need 16 or 32 bits");
      break;
    case kBiJpeg:
    case kBiPng:
      r.fail("BMP with embedded JPEG or PNG data is not supported");
    default:
      r.fail("Unknown BMP compression " + std::to_string(h.compression));
  }
  if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
    r.fail("Unsupported BMP bit count " + std::to_string(h.bits));

  if (h.compression == kBiRgb || h.compression == kBiRle8 || h.compression == kBiRle4) {
    if (h.bits == 16) masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F, masks[3] = 0;
    if (h.bits >= 24) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0;
  }
  h.red = Channel(masks[0]), h.green = Channel(masks[1]), h.blue = Channel(masks[2]);
  h.alpha = Channel(masks[3]);

  // A palette is there for up to 8 bits; higher depths may carry an optional one.
  if (colors_used > 256) r.fail("BMP palette is too large");
  uint32_t entries = colors_used ? colors_used : (h.bits <= 8 && !core) ? (1u << h.bits) : 0;
  if (core && h.bits <= 8) entries = 1u << h.bits;
  for (uint32_t i = 0; i < entries; ++i) {
    uint8_t b = r.read_u8(), g = r.read_u8(), red = r.read_u8();
    if (!core) r.read_u8();
    if (h.bits <= 8) h.palette.push_back(argb_from_channels(red, g, b));
  }
  return h;
}

Argb palette_pixel(const DibHeader& h, unsigned index) {
  return index < h.palette.size() ? h.palette[index] : argb_from_channels(0, 0, 0);
}

size_t row_bytes(int width, int bits) {
  return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

int image_row(const DibHeader& h, int stored_row) {
  return h.top_down ? stored_row : h.height - 1 - stored_row;
}

// `icon_alpha`, when given, receives the fourth byte of each 32-bit pixel (row by row, top
// down) instead of it being applied.
void read_uncompressed(ByteReader& r, const DibHeader& h, Bitmap& out,
                       std::vector<uint8_t>* icon_alpha) {
  const size_t stride = row_bytes(h.width, h.bits);
  if (stride * h.height > r.remaining()) r.fail("BMP pixel data is truncated");
  if (icon_alpha) icon_alpha->assign(static_cast<size_t>(h.width) * h.height, 0);
  for (int stored = 0; stored < h.height; ++stored) {
    const std::string row = r.read_bytes(stride);
    const auto* bytes = reinterpret_cast<const uint8_t*>(row.data());
    const int y = image_row(h, stored);
    Argb* dst = out.row(y);
    for (int x = 0; x < h.width; ++x) {
      if (h.bits <= 8) {
        size_t bit = static_cast<size_t>(x) * h.bits;
        unsigned index = (bytes[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
        dst[x] = palette_pixel(h, index);
        continue;
      }
      uint32_t v = 0;
      const uint8_t* p = bytes + static_cast<size_t>(x) * (h.bits / 8);
      for (int i = h.bits / 8 - 1; i >= 0; --i) v = (v << 8) | p[i];
      if (icon_alpha) (*icon_alpha)[static_cast<size_t>(y) * h.width + x] = p[3];
      dst[x] = argb_from_channels(h.red.take(v, 0), h.green.take(v, 0), h.blue.take(v, 0),
                                  h.alpha.take(v, 255));
    }
  }
}

// BI_RLE8 and BI_RLE4: runs and escapes (end of line, end of bitmap, delta, literal run).
// Drawing outside the image is clipped; data that ends without an end mark ends the image.
void read_rle(ByteReader& r, const DibHeader& h, Bitmap& out) {
  const bool four = h.bits == 4;
  int x = 0, y = 0;  // y counts stored rows, bottom up
  auto put = [&](unsigned index) {
    if (x < h.width && y < h.height) out.row(h.height - 1 - y)[x] = palette_pixel(h, index);
    ++x;
  };
  while (y < h.height && r.remaining() >= 2) {
    unsigned count = r.read_u8(), value = r.read_u8();
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) put(four ? (i % 2 ? value & 15 : value >> 4) : value);
    } else if (value == 0) {
      x = 0, ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      x += r.read_u8();
      y += r.read_u8();
    } else {
      size_t bytes = four ? (value + 1) / 2 : value;
      std::string literal = r.read_bytes(bytes);
      for (unsigned i = 0; i < value; ++i) {
        uint8_t b = static_cast<uint8_t>(literal[four ? i / 2 : i]);
        put(four ? (i % 2 ? b & 15 : b >> 4) : b);
      }
      if (bytes % 2) r.skip(1);
    }
  }
}

// The AND mask after an icon's colour image: a set bit makes the pixel transparent. A
// missing mask leaves the icon opaque.
void apply_icon_mask(ByteReader& r, const DibHeader& h, Bitmap& out) {
  const size_t stride = row_bytes(h.width, 1);
  if (stride * h.height > r.remaining()) return;
  for (int stored = 0; stored < h.height; ++stored) {
    std::string bits = r.read_bytes(stride);
    Argb* dst = out.row(image_row(h, stored));
    for (int x = 0; x < h.width; ++x)
      if ((static_cast<uint8_t>(bits[x / 8]) >> (7 - x % 8)) & 1) dst[x] = kTransparent;
  }
}

Bitmap read_pixels(ByteReader& r, const DibHeader& h, bool icon, const DecodeLimits& limits) {
  check_decode_size(h.width, h.height, limits, kFormat);
  Bitmap out(h.width, h.height);
  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    read_rle(r, h, out);
  } else if (icon && h.bits == 32) {
    // Icons keep alpha in the fourth byte; when it is all 0 the AND mask rules instead.
    std::vector<uint8_t> alpha;
    read_uncompressed(r, h, out, &alpha);
    if (std::any_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a != 0; })) {
      for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
          Argb& p = out.row(y)[x];
          p = argb_from_color(color_from_argb(p), alpha[static_cast<size_t>(y) * out.width() + x]);
        }
      return out;
    }
  } else {
    read_uncompressed(r, h, out, nullptr);
  }
  if (icon) apply_icon_mask(r, h, out);
  return out;
}

ByteReader open(std::string_view bytes) {
  return ByteReader(bytes, kFormat);
}

// Reads the file header; the reader is left at the info header. Returns the pixel offset.
uint32_t read_file_header(ByteReader& r) {
  if (r.size() < 2 || r.read_u16() != kSignature) r.fail("Not a BMP file");
  r.read_u32();  // file size: often wrong, the data length rules
  r.read_u32();  // reserved
  uint32_t offset = r.read_u32();
  if (offset < kFileHeaderSize || offset > r.size()) r.fail("BMP pixel offset is out of range");
  return offset;
}

}  // namespace

ImageSize read_bmp_size(std::string_view file) {
  ByteReader r = open(file);
  read_file_header(r);
  DibHeader h = read_dib_header(r, false);
  return {h.width, h.height};
}

Bitmap decode_bmp(std::string_view file, const DecodeLimits& limits) {
  ByteReader r = open(file);
  uint32_t offset = read_file_header(r);
  DibHeader h = read_dib_header(r, false);
  r.seek(offset);
  return read_pixels(r, h, false, limits);
}

ImageSize read_dib_size(std::string_view dib, bool icon_mask) {
  ByteReader r = open(dib);
  DibHeader h = read_dib_header(r, icon_mask);
  return {h.width, h.height};
}

Bitmap decode_dib(std::string_view dib, bool icon_mask, const DecodeLimits& limits) {
  ByteReader r = open(dib);
  DibHeader h = read_dib_header(r, icon_mask);
  return read_pixels(r, h, icon_mask, limits);
}

// ---- Writing

namespace {

int bits_of(BmpPixelFormat format) {
  switch (format) {
    case BmpPixelFormat::k1Bit:
      return 1;
    case BmpPixelFormat::k4Bit:
      return 4;
    case BmpPixelFormat::k8Bit:
      return 8;
    case BmpPixelFormat::k15Bit:
    case BmpPixelFormat::k16Bit:
      return 16;
    case BmpPixelFormat::k24Bit:
      return 24;
    case BmpPixelFormat::k32Bit:
      return 32;
  }
  return 24;
}

bool is_white(uint32_t color) {
  unsigned r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  return r * 299 + g * 587 + b * 114 >= 128 * 1000;
}

// Palette indices of every pixel, top row first, and the palette.
std::vector<uint8_t> index_pixels(const Bitmap& bitmap, BmpPixelFormat format,
                                  std::vector<uint32_t>& palette) {
  std::vector<uint32_t> colors;
  colors.reserve(static_cast<size_t>(bitmap.width()) * bitmap.height());
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x) colors.push_back(color_over_white(bitmap.row(y)[x]));
  std::vector<uint8_t> indices(colors.size());
  if (format == BmpPixelFormat::k1Bit) {
    palette = {0x000000, 0xFFFFFF};
    for (size_t i = 0; i < colors.size(); ++i) indices[i] = is_white(colors[i]) ? 1 : 0;
    return indices;
  }
  ColorPalette built = ColorPalette::build(colors, format == BmpPixelFormat::k4Bit ? 16 : 256);
  palette = built.colors();
  for (size_t i = 0; i < colors.size(); ++i) indices[i] = built.index_of(colors[i]);
  return indices;
}

}  // namespace

std::string encode_bmp(const Bitmap& bitmap, BmpPixelFormat format) {
  if (bitmap.empty()) throw ZorelError("Cannot write an empty bitmap", ErrorKind::Argument);
  const int bits = bits_of(format);
  const int w = bitmap.width(), h = bitmap.height();
  std::vector<uint32_t> palette;
  std::vector<uint8_t> indices;
  if (bits <= 8) indices = index_pixels(bitmap, format, palette);
  const bool rgb565 = format == BmpPixelFormat::k16Bit;
  const uint32_t info_size = bits == 32 ? 108 : 40;
  const uint32_t mask_bytes = rgb565 ? 12 : 0;  // after a 40-byte header
  const uint32_t palette_bytes = static_cast<uint32_t>(palette.size()) * 4;
  const uint32_t offset = kFileHeaderSize + info_size + mask_bytes + palette_bytes;
  const size_t stride = row_bytes(w, bits);
  const uint64_t file_size = offset + stride * h;

  ByteWriter out;
  out.write_u16(kSignature);
  out.write_u32(static_cast<uint32_t>(std::min<uint64_t>(file_size, 0xFFFFFFFFu)));
  out.write_u32(0);
  out.write_u32(offset);
  out.write_u32(info_size);
  out.write_i32(w);
  out.write_i32(h);  // bottom-up
  out.write_u16(1);
  out.write_u16(static_cast<uint16_t>(bits));
  out.write_u32(bits == 32 || rgb565 ? kBiBitfields : kBiRgb);
  out.write_u32(static_cast<uint32_t>(stride * h));
  out.write_i32(kPixelsPerMetre96Dpi);
  out.write_i32(kPixelsPerMetre96Dpi);
  out.write_u32(static_cast<uint32_t>(palette.size()));
  out.write_u32(0);
  if (bits == 32) {
    for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) out.write_u32(mask);
    out.write_u32(0x73524742);                      // "sRGB"
    for (int i = 0; i < 12; ++i) out.write_u32(0);  // endpoints and gamma, unused for sRGB
  }
  if (rgb565)
    for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) out.write_u32(mask);
  for (uint32_t c : palette) {
    out.write_u8((c >> 16) & 0xFF);
    out.write_u8((c >> 8) & 0xFF);
    out.write_u8(c & 0xFF);
    out.write_u8(0);
  }
  std::string row(stride, '\0');
  for (int y = h - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), '\0');
    const Argb* src = bitmap.row(y);
    for (int x = 0; x < w; ++x) {
      if (bits <= 8) {
        size_t bit = static_cast<size_t>(x) * bits;
        uint8_t index = indices[static_cast<size_t>(y) * w + x];
        row[bit / 8] =
            static_cast<char>(static_cast<uint8_t>(row[bit / 8]) | (index << (8 - bits - bit % 8)));
      } else if (bits == 16) {
        uint32_t c = color_over_white(src[x]);
        unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        unsigned v = rgb565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                            : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        row[x * 2] = static_cast<char>(v & 0xFF);
        row[x * 2 + 1] = static_cast<char>(v >> 8);
      } else if (bits == 24) {
        uint32_t c = color_over_white(src[x]);
        row[x * 3] = static_cast<char>((c >> 16) & 0xFF);
        row[x * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
        row[x * 3 + 2] = static_cast<char>(c & 0xFF);
      } else {
        uint32_t c = color_from_argb(src[x]);
        row[x * 4] = static_cast<char>((c >> 16) & 0xFF);
        row[x * 4 + 1] = static_cast<char>((c >> 8) & 0xFF);
        row[x * 4 + 2] = static_cast<char>(c & 0xFF);
        row[x * 4 + 3] = static_cast<char>(alpha_of(src[x]));
      }
    }
    out.write_bytes(row);
  }
  return out.take();
}

}  // namespace zr
