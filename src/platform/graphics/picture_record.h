#pragma once
// The picture view's own items of its form record, after the common view record:
//
//   graphic kind   byte: 0 bitmap, 1 JPEG, 2 icon, 3 metafile, 4 GIF, 99 no picture
//   BlobType       byte; read only when RecordVersion * 10 + ExtensionVersion > 10, always
//                  written
//   Url            string, version-23 form; written as " " when empty, trimmed when read
//   end position   int32: absolute stream position just after the graphic data
//   graphic data   the graphic's own file format; absent for kind 99
//
// The writer writes a placeholder end position and patches it once the graphic is written;
// the reader loads the graphic from the bytes up to the end position and then stands at the
// end position whatever the kind was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"
#include "platform/graphics/picture.h"

namespace zr {

struct PictureRecord {
  Picture picture;
  std::optional<uint8_t> blob_type;  // absent when the record's version does not carry it
  std::string url;                   // trimmed
  // Why the graphic could not be loaded (an unknown kind byte, malformed data); the picture
  // is then empty, as for a picture whose loading fails.
  std::string load_error;
};

// Positions are absolute in `out`, which must hold the whole stream from its start. Raises
// ZorelError when the URL is longer than 65535 bytes or the stream passes 2 GiB.
void write_picture_record(ByteWriter& out, const Picture& picture, uint8_t blob_type,
                          std::string_view url);

// `record_version` and `extension_version` come from the common record. Raises FormatError
// when the record itself is damaged: truncated, or an end position before the graphic data
// or past the stream. A graphic that does not load is reported in load_error instead.
PictureRecord read_picture_record(ByteReader& in, int record_version, int extension_version);

}  // namespace zr
