#pragma once
// Deflate for page contents, pictures and embedded fonts: the zlib stream format (a 32 KiB
// window) written by libdeflate, which compresses several times faster than zlib at the same
// level. Safe to call from several threads at once.

#include <string>
#include <string_view>

namespace zr {

enum TPDFCompressionMethod { cmFastest, cmNormal, cmMaxCompress };

// The level of a method: stored blocks (0), 1, or zlib's default level 6.
int DeflateLevel(TPDFCompressionMethod method);

// Raises ZorelError when the compressor cannot be made (only when memory runs out).
std::string Deflate(std::string_view data, TPDFCompressionMethod method);

}  // namespace zr
