// Do-nothing bodies for start-up services whose subsystems are not built
// yet. They are weak: the real definition, once linked, takes their place.
#include "runtime/startup/RuntimeStartup.h"

__attribute__((weak)) void LoadPlugins() {}
