#include "platform/graphics/jpeg_codec.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "platform/errors.h"

// libjpeg reports fatal errors through a callback that must not return. We longjmp out of
// it; setjmp sits in small functions whose frames hold no C++ objects with destructors, so
// the jump skips only C frames and plain data. The libjpeg objects live in RAII holders in
// the callers and are destroyed normally afterwards.

namespace zr {

namespace {

constexpr const char* kFormat = "JPEG";
// Real progressive files have about ten scans; thousands make decoding crawl.
constexpr int kMaxScans = 1000;

struct ErrorTrap {
  jpeg_error_mgr mgr;  // first: libjpeg hands back a pointer to it
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void on_fatal(j_common_ptr cinfo) {
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, trap->message);
  std::longjmp(trap->jump, 1);
}

void on_output(j_common_ptr) {}  // warnings are not printed

void on_progress(j_common_ptr cinfo) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decompress->input_scan_number > kMaxScans) {
    auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
    std::snprintf(trap->message, sizeof trap->message, "too many scans");
    std::longjmp(trap->jump, 1);
  }
}

void install(ErrorTrap& trap, j_common_ptr cinfo) {
  cinfo->err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = on_fatal;
  trap.mgr.output_message = on_output;
  trap.message[0] = '\0';
}

// Four bytes per pixel in the order of an Argb in memory, alpha 255.
constexpr J_COLOR_SPACE kArgbSpace =
    std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorTrap trap{};
  jpeg_progress_mgr progress{};
  bool created = false;
  Decoder() = default;
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

bool read_header(Decoder& d, const unsigned char* data, unsigned long size, long max_memory) {
  install(d.trap, reinterpret_cast<j_common_ptr>(&d.cinfo));
  if (setjmp(d.trap.jump)) return false;
  jpeg_create_decompress(&d.cinfo);
  d.created = true;
  d.cinfo.mem->max_memory_to_use = max_memory;
  d.progress.progress_monitor = on_progress;
  d.cinfo.progress = &d.progress;
  jpeg_mem_src(&d.cinfo, data, size);
  jpeg_read_header(&d.cinfo, TRUE);
  const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
  d.cinfo.out_color_space = cmyk ? JCS_CMYK : kArgbSpace;
  return true;
}

void cmyk_to_argb(const unsigned char* cmyk, Argb* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    // Adobe stores inverted values: 255 is no ink.
    out[x] =
        argb_from_channels(static_cast<uint8_t>(c * k / 255), static_cast<uint8_t>(m * k / 255),
                           static_cast<uint8_t>(y * k / 255));
  }
}

// `cmyk_row` is a buffer of 4 * width bytes, used only for CMYK files.
bool read_pixels(Decoder& d, Argb* pixels, JDIMENSION width, JDIMENSION height,
                 unsigned char* cmyk_row) {
  if (setjmp(d.trap.jump)) return false;
  jpeg_start_decompress(&d.cinfo);
  if (d.cinfo.output_width != width || d.cinfo.output_height != height ||
      d.cinfo.output_components != 4) {
    std::snprintf(d.trap.message, sizeof d.trap.message, "unexpected output geometry");
    return false;
  }
  while (d.cinfo.output_scanline < height) {
    Argb* target = pixels + static_cast<size_t>(d.cinfo.output_scanline) * width;
    JSAMPROW row = cmyk_row ? cmyk_row : reinterpret_cast<JSAMPROW>(target);
    if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) break;
    if (cmyk_row) cmyk_to_argb(cmyk_row, target, width, d.cinfo.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&d.cinfo);
  return true;
}

[[noreturn]] void fail(const Decoder& d) {
  throw FormatError(std::string("Invalid JPEG image: ") + d.trap.message, kFormat);
}

long memory_budget(const DecodeLimits& limits) {
  // Progressive files keep all coefficients: two bytes per sample, at most four samples.
  return static_cast<long>(std::min<int64_t>(limits.max_pixels * 8 + (64 << 20), 1L << 40));
}

struct Encoder {
  jpeg_compress_struct cinfo{};
  ErrorTrap trap{};
  bool created = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  Encoder() = default;
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;
  ~Encoder() {
    if (created) jpeg_destroy_compress(&cinfo);
    std::free(buffer);  // jpeg_mem_dest's buffer belongs to the caller
  }
};

// `row` is a buffer of 3 * width bytes.
bool compress(Encoder& e, const Bitmap& bitmap, unsigned char* row,
              const JpegEncodeOptions& options) {
  install(e.trap, reinterpret_cast<j_common_ptr>(&e.cinfo));
  if (setjmp(e.trap.jump)) return false;
  jpeg_create_compress(&e.cinfo);
  e.created = true;
  jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
  e.cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
  e.cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
  e.cinfo.input_components = 3;
  e.cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&e.cinfo);
  if (options.grayscale) jpeg_set_colorspace(&e.cinfo, JCS_GRAYSCALE);
  jpeg_set_quality(&e.cinfo, std::clamp(options.quality, 1, 100), TRUE);
  if (options.progressive) jpeg_simple_progression(&e.cinfo);
  e.cinfo.dct_method = JDCT_ISLOW;  // the same bytes on every machine
  e.cinfo.density_unit = 1;         // dots per inch
  e.cinfo.X_density = 96;
  e.cinfo.Y_density = 96;
  jpeg_start_compress(&e.cinfo, TRUE);
  while (e.cinfo.next_scanline < e.cinfo.image_height) {
    const Argb* src = bitmap.row(static_cast<int>(e.cinfo.next_scanline));
    for (int x = 0; x < bitmap.width(); ++x) {
      uint32_t c = color_over_white(src[x]);
      row[3 * x] = c & 0xFF;
      row[3 * x + 1] = (c >> 8) & 0xFF;
      row[3 * x + 2] = (c >> 16) & 0xFF;
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&e.cinfo, rows, 1);
  }
  jpeg_finish_compress(&e.cinfo);
  return true;
}

const unsigned char* bytes_of(std::string_view file) {
  return reinterpret_cast<const unsigned char*>(file.data());
}

}  // namespace

ImageSize read_jpeg_size(std::string_view file) {
  Decoder d;
  if (!read_header(d, bytes_of(file), file.size(), memory_budget({}))) fail(d);
  return {static_cast<int>(std::min<JDIMENSION>(d.cinfo.image_width, 0x7FFFFFFF)),
          static_cast<int>(std::min<JDIMENSION>(d.cinfo.image_height, 0x7FFFFFFF))};
}

Bitmap decode_jpeg(std::string_view file, const DecodeLimits& limits) {
  Decoder d;
  if (!read_header(d, bytes_of(file), file.size(), memory_budget(limits))) fail(d);
  const JDIMENSION width = d.cinfo.image_width, height = d.cinfo.image_height;
  check_decode_size(width, height, limits, kFormat);
  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height), argb_from_channels(0, 0, 0));
  std::vector<unsigned char> cmyk_row;
  if (d.cinfo.out_color_space == JCS_CMYK) cmyk_row.resize(static_cast<size_t>(width) * 4);
  if (!read_pixels(d, bitmap.row(0), width, height, cmyk_row.empty() ? nullptr : cmyk_row.data()))
    fail(d);
  return bitmap;
}

std::string encode_jpeg(const Bitmap& bitmap, const JpegEncodeOptions& options) {
  if (bitmap.empty()) throw ZorelError("Cannot write an empty bitmap", ErrorKind::Argument);
  Encoder e;
  std::vector<unsigned char> row(static_cast<size_t>(bitmap.width()) * 3);
  if (!compress(e, bitmap, row.data(), options))
    throw ZorelError(std::string("JPEG encoding failed: ") + e.trap.message);
  return std::string(reinterpret_cast<const char*>(e.buffer), e.size);
}

}  // namespace zr
