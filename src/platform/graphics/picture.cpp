#include "platform/graphics/picture.h"

#include <fstream>
#include <iterator>

#include "platform/errors.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/graphics/gif_codec.h"
#include "platform/graphics/ico_codec.h"
#include "platform/graphics/jpeg_codec.h"
#include "platform/graphics/metafile_header.h"

namespace zr {

namespace {

ImageSize read_size(GraphicKind kind, std::string_view bytes) {
  switch (kind) {
    case GraphicKind::Bitmap:
      return read_bmp_size(bytes);
    case GraphicKind::Jpeg:
      return read_jpeg_size(bytes);
    case GraphicKind::Icon:
      return read_ico_size(bytes);
    case GraphicKind::Metafile:
      return read_metafile_size(bytes);
    case GraphicKind::Gif:
      return read_gif_size(bytes);
    case GraphicKind::None:
      break;
  }
  return {};
}

Bitmap decode(GraphicKind kind, std::string_view bytes, const DecodeLimits& limits) {
  switch (kind) {
    case GraphicKind::Bitmap:
      return decode_bmp(bytes, limits);
    case GraphicKind::Jpeg:
      return decode_jpeg(bytes, limits);
    case GraphicKind::Icon:
      return decode_ico(bytes, limits);
    case GraphicKind::Gif:
      return decode_gif(bytes, limits);
    case GraphicKind::Metafile:
      throw ZorelError("A metafile picture is played, not decoded", ErrorKind::Argument);
    case GraphicKind::None:
      break;
  }
  throw ZorelError("The picture is empty", ErrorKind::Argument);
}

const std::string& no_bytes() {
  static const std::string empty;
  return empty;
}

}  // namespace

Picture Picture::from_bytes(GraphicKind kind, std::string bytes) {
  Picture picture;
  if (kind == GraphicKind::None || bytes.empty()) return picture;
  picture.size_ = read_size(kind, bytes);
  picture.kind_ = kind;
  picture.bytes_ = std::make_shared<const std::string>(std::move(bytes));
  return picture;
}

Picture Picture::from_detected_bytes(std::string bytes) {
  std::optional<GraphicKind> kind = detect_graphic_kind(bytes);
  if (!kind) throw FormatError("Unknown picture format");
  return from_bytes(*kind, std::move(bytes));
}

Picture Picture::from_file(const std::filesystem::path& path) {
  std::optional<GraphicKind> kind = graphic_kind_from_extension(path.string());
  if (!kind) throw FormatError("Unknown picture file extension", path.string());
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw IoError("Cannot open " + path.string());
  std::ifstream in(path, std::ios::binary);
  if (!in) throw IoError("Cannot open " + path.string());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw IoError("Cannot read " + path.string());
  try {
    return from_bytes(*kind, std::move(bytes));
  } catch (const FormatError& e) {
    throw FormatError(e.what(), path.string());
  }
}

void Picture::save_to_file(const std::filesystem::path& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string& data = bytes();
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out) throw IoError("Cannot write " + path.string());
}

const std::string& Picture::bytes() const {
  return bytes_ ? *bytes_ : no_bytes();
}

const Bitmap& Picture::bitmap(const DecodeLimits& limits) const {
  if (!bitmap_) bitmap_ = std::make_shared<const Bitmap>(decode(kind_, bytes(), limits));
  return *bitmap_;
}

}  // namespace zr
