// The runtime's clock: ticks of wall-clock time.
#pragma once
#include <cstdint>

namespace QV {

constexpr uint32_t kTicksPerSecond = 60;

// Ticks (1/60 s) of elapsed wall-clock time since an arbitrary origin. Never
// goes backwards; as a 32-bit count it wraps after about 2.2 years.
uint32_t TickCount();

} // namespace QV
