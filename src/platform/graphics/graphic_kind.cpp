#include "platform/graphics/graphic_kind.h"

#include <array>
#include <string>

namespace zr {

namespace {

uint32_t u32_at(std::string_view bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return v;
}

bool starts_with(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::optional<GraphicKind> graphic_kind_from_byte(uint8_t value) {
  switch (value) {
    case 0:
      return GraphicKind::Bitmap;
    case 1:
      return GraphicKind::Jpeg;
    case 2:
      return GraphicKind::Icon;
    case 3:
      return GraphicKind::Metafile;
    case 4:
      return GraphicKind::Gif;
    case 99:
      return GraphicKind::None;
    default:
      return std::nullopt;
  }
}

std::optional<GraphicKind> graphic_kind_from_blob_type(uint8_t blob_type) {
  switch (blob_type) {
    case 0:
      return GraphicKind::Bitmap;
    case 1:
      return GraphicKind::Jpeg;
    case 2:
      return GraphicKind::Metafile;
    case 3:
      return GraphicKind::Icon;
    case 4:
      return GraphicKind::Gif;
    default:
      return std::nullopt;
  }
}

std::optional<GraphicKind> graphic_kind_from_extension(std::string_view file_name) {
  size_t dot = file_name.rfind('.');
  size_t slash = file_name.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return std::nullopt;
  std::string ext;
  for (char c : file_name.substr(dot + 1))
    ext += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  if (ext == "bmp") return GraphicKind::Bitmap;
  if (ext == "jpg" || ext == "jpeg") return GraphicKind::Jpeg;
  if (ext == "ico") return GraphicKind::Icon;
  if (ext == "wmf" || ext == "emf") return GraphicKind::Metafile;
  if (ext == "gif") return GraphicKind::Gif;
  return std::nullopt;
}

std::optional<GraphicKind> detect_graphic_kind(std::string_view bytes) {
  if (starts_with(bytes, "BM")) return GraphicKind::Bitmap;
  if (starts_with(bytes, "\xFF\xD8\xFF")) return GraphicKind::Jpeg;
  if (starts_with(bytes, "GIF87a") || starts_with(bytes, "GIF89a")) return GraphicKind::Gif;
  if (bytes.size() >= 6 && (starts_with(bytes, std::string_view("\0\0\1\0", 4)) ||
                            starts_with(bytes, std::string_view("\0\0\2\0", 4))))
    return GraphicKind::Icon;
  if (bytes.size() >= 4 && u32_at(bytes, 0) == 0x9AC6CDD7u) return GraphicKind::Metafile;
  if (bytes.size() >= 44 && u32_at(bytes, 0) == 1 && u32_at(bytes, 40) == 0x464D4520u)
    return GraphicKind::Metafile;  // EMR_HEADER with the " EMF" signature
  return std::nullopt;
}

const char* graphic_kind_name(GraphicKind kind) {
  switch (kind) {
    case GraphicKind::Bitmap:
      return "bitmap";
    case GraphicKind::Jpeg:
      return "JPEG";
    case GraphicKind::Icon:
      return "icon";
    case GraphicKind::Metafile:
      return "metafile";
    case GraphicKind::Gif:
      return "GIF";
    case GraphicKind::None:
      return "none";
  }
  return "unknown";
}

}  // namespace zr
