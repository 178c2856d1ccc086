#include "platform/graphics/picture_record.h"

#include <limits>

#include "platform/errors.h"

namespace zr {

namespace {

// As the system trims: every byte up to and including the space goes at both ends.
std::string trim(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<uint8_t>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<uint8_t>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace

void write_picture_record(ByteWriter& out, const Picture& picture, uint8_t blob_type,
                          std::string_view url) {
  out.write_u8(static_cast<uint8_t>(picture.kind()));
  out.write_u8(blob_type);
  out.write_string_v23(url.empty() ? std::string_view(" ") : url);
  const size_t end_slot = out.position();
  out.write_i32(0);
  out.write_bytes(picture.bytes());
  if (out.position() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw ZorelError("Stream is too large for a picture record");
  out.patch_u32(end_slot, static_cast<uint32_t>(out.position()));
}

PictureRecord read_picture_record(ByteReader& in, int record_version, int extension_version) {
  PictureRecord record;
  const uint8_t kind_byte = in.read_u8();
  if (record_version * 10 + extension_version > 10) record.blob_type = in.read_u8();
  record.url = trim(in.read_string_v23());
  const int32_t end = in.read_i32();
  if (end < 0 || static_cast<size_t>(end) < in.position() || static_cast<size_t>(end) > in.size())
    in.fail("Picture end position " + std::to_string(end) + " is out of range");
  const size_t start = in.position();
  std::string data = in.read_bytes(static_cast<size_t>(end) - start);
  std::optional<GraphicKind> kind = graphic_kind_from_byte(kind_byte);
  if (!kind) {
    record.load_error = "Unknown graphic kind " + std::to_string(kind_byte);
  } else {
    try {
      record.picture = Picture::from_bytes(*kind, std::move(data));
    } catch (const FormatError& e) {
      record.load_error = e.what();
    }
  }
  in.seek(static_cast<size_t>(end));
  return record;
}

}  // namespace zr
