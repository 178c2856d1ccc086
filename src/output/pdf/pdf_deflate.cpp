#include "output/pdf/pdf_deflate.h"

#include <libdeflate.h>

#include <array>
#include <memory>

#include "platform/errors.h"

namespace zr {

namespace {

struct CompressorDeleter {
  void operator()(libdeflate_compressor* compressor) const {
    libdeflate_free_compressor(compressor);
  }
};
using Compressor = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

// A compressor holds large tables; each thread keeps one per level it has used (a compressor
// serves one thread at a time).
libdeflate_compressor& compressor_for(int level) {
  thread_local std::array<Compressor, 13> compressors;
  Compressor& compressor = compressors[static_cast<size_t>(level)];
  if (!compressor) compressor.reset(libdeflate_alloc_compressor(level));
  if (!compressor) throw ZorelError("Cannot start compression");
  return *compressor;
}

}  // namespace

int DeflateLevel(TPDFCompressionMethod method) {
  switch (method) {
    case cmFastest:
      return 0;
    case cmNormal:
      return 1;
    case cmMaxCompress:
      break;
  }
  return 6;  // zlib's default level
}

std::string Deflate(std::string_view data, TPDFCompressionMethod method) {
  libdeflate_compressor& compressor = compressor_for(DeflateLevel(method));
  std::string out;
  out.resize(libdeflate_zlib_compress_bound(&compressor, data.size()));
  const size_t written =
      libdeflate_zlib_compress(&compressor, data.data(), data.size(), out.data(), out.size());
  if (written == 0) throw ZorelError("Compression failed");
  out.resize(written);
  return out;
}

}  // namespace zr
