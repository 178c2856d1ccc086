#include "output/pdf/pdf_deflate.h"

#include <zlib.h>

#include "platform/errors.h"

namespace zr {

int DeflateLevel(TPDFCompressionMethod method) {
  switch (method) {
    case cmFastest:
      return 0;
    case cmNormal:
      return 1;
    case cmMaxCompress:
      break;
  }
  return Z_DEFAULT_COMPRESSION;
}

std::string Deflate(std::string_view data, TPDFCompressionMethod method) {
  if (data.size() > 0xFFFFFFFFu) throw ZorelError("Compression failed: block too large");
  z_stream zs{};
  if (deflateInit2(&zs, DeflateLevel(method), Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw ZorelError("Cannot start compression");
  std::string out;
  out.resize(deflateBound(&zs, static_cast<uLong>(data.size())));
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&zs, Z_FINISH);
  const size_t written = zs.total_out;
  deflateEnd(&zs);
  if (result != Z_STREAM_END) throw ZorelError("Compression failed");
  out.resize(written);
  return out;
}

}  // namespace zr
