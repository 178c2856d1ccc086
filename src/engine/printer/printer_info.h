#pragma once
// The page geometry block a page keeps and the printer layer fills (FillPrnInfo): twelve
// integers in this order, each pair in printer dots first and design pixels second.

#include <cstdint>

namespace zr {

struct PrinterInfo {
  int32_t device_page_width = 0;  // physical paper, dots
  int32_t device_page_height = 0;
  int32_t page_width = 0;  // physical paper, design pixels
  int32_t page_height = 0;
  int32_t device_offset_x = 0;  // printable area's left and top, dots
  int32_t device_offset_y = 0;
  int32_t offset_x = 0;  // the same in design pixels
  int32_t offset_y = 0;
  int32_t device_printable_width = 0;  // printable area, dots
  int32_t device_printable_height = 0;
  int32_t printable_width = 0;  // the same in design pixels
  int32_t printable_height = 0;

  friend bool operator==(const PrinterInfo&, const PrinterInfo&) = default;
};

}  // namespace zr
