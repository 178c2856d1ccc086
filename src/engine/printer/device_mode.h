#pragma once
// A printer's settings for the next job, in the shape of the classic device mode: a set of
// field bits saying which values the printer lets a program change, and the values.
// Sizes are portrait, in tenths of a millimetre; orientation is 1 portrait, 2 landscape.

#include <cstdint>

namespace zr {

inline constexpr uint32_t DM_ORIENTATION = 0x0001;
inline constexpr uint32_t DM_PAPERSIZE = 0x0002;
inline constexpr uint32_t DM_PAPERLENGTH = 0x0004;
inline constexpr uint32_t DM_PAPERWIDTH = 0x0008;
inline constexpr uint32_t DM_COPIES = 0x0100;
inline constexpr uint32_t DM_DEFAULTSOURCE = 0x0200;

inline constexpr int DMORIENT_PORTRAIT = 1;
inline constexpr int DMORIENT_LANDSCAPE = 2;

// Paper sources: the printer picks (also when it has none to choose from), or the printer's
// own sources numbered from DMBIN_USER in the system's order.
inline constexpr int DMBIN_AUTO = 7;
inline constexpr int DMBIN_USER = 256;

// The largest custom paper side a printer accepts (the classic 16-bit field).
inline constexpr int32_t kMaxPaperSide = 32767;

struct DeviceMode {
  uint32_t fields = 0;
  int orientation = DMORIENT_PORTRAIT;
  int paper_size = 0;  // paper number; 256 = custom size from paper_width x paper_length
  int32_t paper_length = 0;
  int32_t paper_width = 0;
  int copies = 1;
  int default_source = 0;  // paper source code

  friend bool operator==(const DeviceMode&, const DeviceMode&) = default;
};

// The geometry a printer gives a page of its current mode, in its dots. The printable area
// starts at the offset and is printable_width x printable_height dots large.
struct DeviceCaps {
  int32_t dpi_x = 0;
  int32_t dpi_y = 0;
  int32_t physical_width = 0;
  int32_t physical_height = 0;
  int32_t offset_x = 0;
  int32_t offset_y = 0;
  int32_t printable_width = 0;
  int32_t printable_height = 0;

  friend bool operator==(const DeviceCaps&, const DeviceCaps&) = default;
};

}  // namespace zr
