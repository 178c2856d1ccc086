#pragma once
// Reader of XML data packets (see the data packet format note) into column storage.
//
// Input may be a bare packet or a data section as the viewer writes it: anything before the
// first "<?xml" or "<DATAPACKET" and after the end of the DATAPACKET element is ignored.
// Encoding: the declared `encoding` when there is one; otherwise UTF-8 when the bytes are
// valid UTF-8; else the 8-bit code page of the packet's LCID; without an LCID the ANSI code
// page of the options when the bytes are well-formed in it, else Windows-1252. A UTF-16
// byte-order mark is honoured.
// Text values and field names are converted to the ANSI code page; blobs stay raw.
//
// Rows whose RowState has bit 1, 2 or 32 (before-images, deleted and unused rows) are left
// out; the change log is not kept (the engine never saves packets back). DEFAULT_ORDER is not
// applied: the natural order is the packet order.
//
// Errors: FormatError naming the input, what is wrong and, where known, the line: not a data
// packet, malformed XML, a missing METADATA/FIELDS, an unknown field type, a bad value (with
// field and 1-based row number, counted as the packet's ROW elements). Struct and array
// fields are loaded as ftUnknown fields that are always null, with a note.

#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/table/record_store.h"

namespace zr {

struct DataPacketOptions {
  int code_page = kDefaultAnsiCodePage;  // the engine's ANSI code page for text values
};

// `source_name` names the input in error messages (a path, or "<memory>").
RecordStore read_data_packet(std::string_view bytes, const std::string& source_name,
                             const DataPacketOptions& options = {});

// Reads the whole file; IoError when it cannot be read.
RecordStore read_data_packet_file(const std::string& path, const DataPacketOptions& options = {});

}  // namespace zr
