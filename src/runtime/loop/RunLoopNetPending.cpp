// Do-nothing bodies for the networking services the run loop calls, until the
// socket layer defines them.
#include "runtime/loop/RunLoop.h"

__attribute__((weak)) void RunFireSerial() {}
__attribute__((weak)) void NetIdle(bool) {}
__attribute__((weak)) void NetTerm() {}
