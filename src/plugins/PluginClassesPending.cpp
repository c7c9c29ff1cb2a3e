// Turning registered plug-in classes into language classes is not built yet;
// nothing is registered before it, so there is nothing to build.
#include "plugins/PluginLoader.h"

__attribute__((weak)) void BuildPluginClasses() {}
