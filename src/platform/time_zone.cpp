#include "platform/time_zone.h"

#include <ctime>

namespace zr {

int standard_time_bias_minutes() {
  tzset();
  // glibc's `timezone`: seconds west of UTC for standard time, the sign Windows' bias has.
  return static_cast<int>(timezone / 60);
}

}  // namespace zr
