// Reads arbitrary bytes as a metafile: the first byte picks EMF (even) or WMF (odd), the rest
// is the file. Malformed input must end in FormatError, never in a crash, a hang or unbounded
// memory. What is read must play onto a canvas, and what we write of it must read again.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/canvas/trace_canvas.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/metafile/wmf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto fonts = std::make_shared<zr::FontResolver>();
  if (size == 0) return 0;
  std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
  bool emf = data[0] % 2 == 0;
  zr::Metafile metafile;
  try {
    metafile = emf ? zr::read_emf(file) : zr::read_wmf(file);
  } catch (const zr::FormatError&) {
    return 0;
  }
  zr::TraceCanvas canvas(fonts, {0, 0, 2000, 2000});
  metafile.play(canvas, {0, 0, 640, 480});
  if (canvas.saved_state_count() != 0) std::abort();
  if (!metafile.frame().empty()) {
    // Our own files must always read back.
    zr::read_emf(zr::write_emf(metafile));
    zr::read_wmf(zr::write_wmf(metafile));
  }
  return 0;
}
