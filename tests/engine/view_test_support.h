#pragma once
// Records of views for the view tests: saving, loading and hand-built common records.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/model/view.h"
#include "platform/byte_stream.h"

namespace testing_support {

inline std::string save_record(zr::TvtView& view, bool prepared = false) {
  zr::ByteWriter out;
  view.PreparedMode = prepared;
  view.SaveToStream(out);
  view.PreparedMode = false;
  return out.take();
}

// Loads `bytes` into `view` and expects the whole record to be consumed.
inline void load_record(zr::TvtView& view, const std::string& bytes, int version = 24,
                        bool prepared = false) {
  zr::ByteReader in(bytes, "record", version);
  view.PreparedMode = prepared;
  view.LoadFromStream(in);
  view.PreparedMode = false;
  EXPECT_TRUE(in.at_end()) << "stopped at " << in.position() << " of " << in.size();
}

// The common view record of stream version 24 in design form with the given version bytes
// (so without BandAlign when record_version < 2, without links when extension_version < 3).
inline std::string common_record_v24(uint8_t record_version, uint8_t extension_version) {
  zr::ByteWriter out(24);
  out.write_string("Old");
  out.write_u8(record_version);
  out.write_u8(extension_version);
  for (int32_t v : {1, 2, 3, 4}) out.write_i32(v);  // Left, Top, Width, Height
  out.write_u16(1);                                 // Flags
  out.write_u16(0);                                 // FrameTyp
  out.write_i32(1);                                 // frame width
  out.write_i32(0);                                 // FrameColor
  out.write_u16(0);                                 // FrameStyle
  out.write_i32(zr::kClNone);                       // FillColor
  out.write_i32(0x22E);                             // DisplayFormat
  out.write_string("");                             // FormatText
  out.write_string_list({"text"});
  out.write_string_list({});  // Script
  out.write_u16(0xFFFF);      // Visible
  out.write_u16(0);           // Restrictions
  out.write_string("");       // Tag
  out.write_i32(2);
  out.write_i32(1);
  if (record_version > 1) out.write_u8(0);
  if (extension_version > 2)
    for (int i = 0; i < 3; ++i) out.write_string(" ");
  return out.take();
}

}  // namespace testing_support
