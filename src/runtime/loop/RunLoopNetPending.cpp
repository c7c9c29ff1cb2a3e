// The do-nothing body of the serial ports' service that the run loop calls,
// until the serial ports define it.
#include "runtime/loop/RunLoop.h"

__attribute__((weak)) void RunFireSerial() {}
