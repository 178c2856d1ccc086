#pragma once
// Deflate for page contents and raw pictures: the zlib stream format, a 15-bit window and
// memory level 8.

#include <string>
#include <string_view>

namespace zr {

enum TPDFCompressionMethod { cmFastest, cmNormal, cmMaxCompress };

// The zlib level of a method: stored blocks (0), 1, or zlib's default (6).
int DeflateLevel(TPDFCompressionMethod method);

// Raises ZorelError when zlib fails (only when memory runs out).
std::string Deflate(std::string_view data, TPDFCompressionMethod method);

}  // namespace zr
