// The runtime's clock and the little feedback the toolbox vocabulary offers.
#pragma once
#include <cstdint>

namespace QV {

constexpr uint32_t kTicksPerSecond = 60;

// Ticks (1/60 s) of elapsed wall-clock time since an arbitrary origin. Never
// goes backwards; as a 32-bit count it wraps after about 2.2 years.
uint32_t TickCount();

// The double-click interval in ticks, from the GTK+ settings.
int32_t GetDblTime();

// Sounds the system beep; the argument is ignored.
void SysBeep(int16_t value);

} // namespace QV
