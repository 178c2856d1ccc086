#include "platform/graphics/gif_codec.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>

#include "platform/errors.h"
#include "platform/graphics/color_palette.h"

namespace zr {

namespace {

constexpr const char* kFormat = "GIF";

struct MemoryInput {
  std::string_view data;
  size_t position = 0;
};

int read_memory(GifFileType* gif, GifByteType* buffer, int length) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  size_t count = std::min(static_cast<size_t>(std::max(length, 0)), in->data.size() - in->position);
  std::memcpy(buffer, in->data.data() + in->position, count);
  in->position += count;
  return static_cast<int>(count);
}

int write_memory(GifFileType* gif, const GifByteType* buffer, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(buffer), length);
  return length;
}

struct CloseDecoder {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using DecoderHandle = std::unique_ptr<GifFileType, CloseDecoder>;

[[noreturn]] void fail(int error) {
  const char* text = GifErrorString(error);
  throw FormatError(std::string("Invalid GIF image: ") + (text ? text : "unknown error"), kFormat);
}

void check(GifFileType* gif, int result) {
  if (result != GIF_OK) fail(gif->Error);
}

DecoderHandle open(MemoryInput& input) {
  int error = 0;
  GifFileType* gif = DGifOpen(&input, read_memory, &error);
  if (!gif) fail(error);
  return DecoderHandle(gif);
}

// Reads records up to the first image descriptor; returns the transparent index (or -1).
// Raises when the file ends first.
int read_to_first_image(GifFileType* gif) {
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    check(gif, DGifGetRecordType(gif, &type));
    if (type == IMAGE_DESC_RECORD_TYPE) {
      check(gif, DGifGetImageDesc(gif));
      return transparent;
    }
    if (type == TERMINATE_RECORD_TYPE) throw FormatError("GIF file has no image", kFormat);
    if (type != EXTENSION_RECORD_TYPE) fail(D_GIF_ERR_WRONG_RECORD);
    int code = 0;
    GifByteType* block = nullptr;
    check(gif, DGifGetExtension(gif, &code, &block));
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
      GraphicsControlBlock gcb{};
      if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
        transparent = gcb.TransparentColor;
    }
    while (block) check(gif, DGifGetExtensionNext(gif, &block));
  }
}

struct Extent {
  int64_t width;
  int64_t height;
};

// The canvas: the logical screen, or the frame's extent when the screen is declared empty.
Extent canvas_of(const GifFileType* gif) {
  const GifImageDesc& frame = gif->Image;
  if (gif->SWidth > 0 && gif->SHeight > 0) return {gif->SWidth, gif->SHeight};
  return {int64_t{frame.Left} + frame.Width, int64_t{frame.Top} + frame.Height};
}

}  // namespace

ImageSize read_gif_size(std::string_view file) {
  MemoryInput input{file};
  DecoderHandle gif = open(input);
  if (gif->SWidth > 0 && gif->SHeight > 0) return {gif->SWidth, gif->SHeight};
  read_to_first_image(gif.get());
  Extent canvas = canvas_of(gif.get());
  return {static_cast<int>(canvas.width), static_cast<int>(canvas.height)};
}

Bitmap decode_gif(std::string_view file, const DecodeLimits& limits) {
  MemoryInput input{file};
  DecoderHandle gif = open(input);
  const int transparent = read_to_first_image(gif.get());
  const GifImageDesc frame = gif->Image;
  const Extent canvas = canvas_of(gif.get());
  check_decode_size(canvas.width, canvas.height, limits, kFormat);
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!map) throw FormatError("GIF image has no colour table", kFormat);
  if (frame.Width < 0 || frame.Height < 0 ||
      int64_t{frame.Width} * frame.Height > limits.max_pixels)
    throw FormatError("GIF frame size is out of range", kFormat);

  std::vector<Argb> colors(256, argb_from_channels(0, 0, 0));  // past the table: black
  for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
    const GifColorType& c = map->Colors[i];
    colors[i] = argb_from_channels(c.Red, c.Green, c.Blue);
  }
  if (transparent >= 0 && transparent < 256) colors[transparent] = kTransparent;

  Bitmap bitmap(static_cast<int>(canvas.width), static_cast<int>(canvas.height));
  std::vector<GifPixelType> line(std::max(frame.Width, 1));
  // Interlaced frames store rows in four passes.
  static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  const int passes = frame.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = frame.Interlace ? kStart[pass] : 0, step = frame.Interlace ? kStep[pass] : 1;
    for (int row = start; row < frame.Height; row += step) {
      check(gif.get(), DGifGetLine(gif.get(), line.data(), frame.Width));
      const int64_t y = int64_t{frame.Top} + row;
      if (y >= canvas.height) continue;
      Argb* dst = bitmap.row(static_cast<int>(y));
      for (int x = 0; x < frame.Width; ++x) {
        const int64_t cx = int64_t{frame.Left} + x;
        if (cx < canvas.width) dst[cx] = colors[line[x]];
      }
    }
  }
  return bitmap;
}

namespace {

bool is_white(uint32_t color) {
  unsigned r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  return r * 299 + g * 587 + b * 114 >= 128 * 1000;
}

struct CloseEncoder {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};

struct FreeMap {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

[[noreturn]] void fail_encode(int error) {
  const char* text = GifErrorString(error);
  throw ZorelError(std::string("GIF encoding failed: ") + (text ? text : "unknown error"));
}

}  // namespace

std::string encode_gif(const Bitmap& bitmap, const GifEncodeOptions& options) {
  if (bitmap.empty()) throw ZorelError("Cannot write an empty bitmap", ErrorKind::Argument);
  const int w = bitmap.width(), h = bitmap.height();
  std::vector<uint32_t> colors;
  std::vector<bool> clear(static_cast<size_t>(w) * h);
  colors.reserve(clear.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Argb p = bitmap.row(y)[x];
      if (alpha_of(p) < 128) {
        clear[static_cast<size_t>(y) * w + x] = true;
        continue;
      }
      uint32_t c = color_from_argb(p);
      colors.push_back(options.monochrome ? (is_white(c) ? 0xFFFFFF : 0) : c);
    }
  const bool has_clear = colors.size() < clear.size();
  ColorPalette palette = ColorPalette::build(colors, has_clear ? 255 : 256);
  std::vector<uint32_t> entries = palette.colors();
  if (entries.empty()) entries.push_back(0);
  const int transparent = has_clear ? static_cast<int>(entries.size()) : NO_TRANSPARENT_COLOR;
  int table_size = 2;
  while (table_size < static_cast<int>(entries.size()) + (has_clear ? 1 : 0)) table_size *= 2;

  std::unique_ptr<ColorMapObject, FreeMap> map(GifMakeMapObject(table_size, nullptr));
  if (!map) throw ZorelError("GIF encoding failed: out of memory");
  for (int i = 0; i < table_size; ++i) {
    uint32_t c = i < static_cast<int>(entries.size()) ? entries[i] : 0;
    map->Colors[i] =
        GifColorType{static_cast<GifByteType>(c & 0xFF), static_cast<GifByteType>((c >> 8) & 0xFF),
                     static_cast<GifByteType>((c >> 16) & 0xFF)};
  }

  std::string out;
  int error = 0;
  std::unique_ptr<GifFileType, CloseEncoder> gif(EGifOpen(&out, write_memory, &error));
  if (!gif) fail_encode(error);
  EGifSetGifVersion(gif.get(), has_clear);
  if (EGifPutScreenDesc(gif.get(), w, h, 8, 0, map.get()) != GIF_OK) fail_encode(gif->Error);
  if (has_clear) {
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, transparent};
    GifByteType block[4];
    EGifGCBToExtension(&gcb, block);
    if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, block) != GIF_OK)
      fail_encode(gif->Error);
  }
  if (EGifPutImageDesc(gif.get(), 0, 0, w, h, false, nullptr) != GIF_OK) fail_encode(gif->Error);
  std::vector<GifPixelType> line(w);
  size_t next_color = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      line[x] = clear[i] ? static_cast<GifPixelType>(transparent)
                         : palette.index_of(colors[next_color++]);
    }
    if (EGifPutLine(gif.get(), line.data(), w) != GIF_OK) fail_encode(gif->Error);
  }
  GifFileType* raw = gif.release();
  if (EGifCloseFile(raw, &error) != GIF_OK) fail_encode(error);
  return out;
}

}  // namespace zr
