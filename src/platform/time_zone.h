#pragma once
// The machine's time zone as Windows states it: the standard bias in minutes, so that
// UTC = local time + bias (Korea: -540). Daylight saving is not part of the standard bias.

namespace zr {

int standard_time_bias_minutes();

}  // namespace zr
