// The little feedback the toolbox vocabulary offers, read from or given
// through the display: the double-click interval and the system beep.
#pragma once
#include <cstdint>

namespace QV {

// The double-click interval in ticks, from the GTK+ settings.
int32_t GetDblTime();

// Sounds the system beep; the argument is ignored.
void SysBeep(int16_t value);

} // namespace QV
