#include <time.h>

#include "foundation/QVTime.h"

namespace QV {

// Counted on the monotonic clock, which never steps back when the wall clock
// is set, and in 64 bits so that a long uptime cannot overflow the
// conversion; only the final count is cut to 32 bits.
uint32_t TickCount() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t ticks = static_cast<uint64_t>(now.tv_sec) * kTicksPerSecond +
                   static_cast<uint64_t>(now.tv_nsec) * kTicksPerSecond / 1000000000u;
  return static_cast<uint32_t>(ticks);
}

} // namespace QV
