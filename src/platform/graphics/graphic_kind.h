#pragma once
// The kinds of graphic a picture holds, with the byte values of the picture record, and the
// ways a kind is chosen: by record byte, by a picture view's BlobType, by file extension or
// by looking at the bytes.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zr {

enum class GraphicKind : uint8_t {
  Bitmap = 0,
  Jpeg = 1,
  Icon = 2,
  Metafile = 3,  // enhanced or placeable Windows metafile
  Gif = 4,
  None = 99,  // no picture
};

// The kind for a record byte; nullopt for a byte that names no kind.
std::optional<GraphicKind> graphic_kind_from_byte(uint8_t value);

// The kind a picture view's BlobType selects: 0 bitmap, 1 JPEG, 2 metafile, 3 icon, 4 GIF.
// (2 and 3 are the reverse of the record bytes.) nullopt for other values.
std::optional<GraphicKind> graphic_kind_from_blob_type(uint8_t blob_type);

// By the extension of a file name, ignoring case: .bmp, .jpg/.jpeg, .ico, .wmf/.emf, .gif.
std::optional<GraphicKind> graphic_kind_from_extension(std::string_view file_name);

// By the signature at the start of the bytes; nullopt when none matches. Only enhanced and
// placeable Windows metafiles are recognised, the kinds a picture can load.
std::optional<GraphicKind> detect_graphic_kind(std::string_view bytes);

// "bitmap", "JPEG", "icon", "metafile", "GIF", "none": for messages.
const char* graphic_kind_name(GraphicKind kind);

}  // namespace zr
