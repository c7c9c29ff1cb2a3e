// Do-nothing bodies until the window life cycle lands. Weak, so
// the real definitions take their place.
#include "windows/MenuServices.h"

extern "C" __attribute__((weak)) void windowFullScreenSetter(RuntimeObject *, int32_t, int32_t) {}
__attribute__((weak)) void RemoveFromImplicitWindowList(RuntimeObject *) {}
