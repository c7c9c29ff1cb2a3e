#include "plugins/PluginLists.h"

LoadedClass *gLoadedClasses = nullptr;
LoadedControl *gLoadedControls = nullptr;
LoadedMethod *gLoadedMethods = nullptr;
LoadedClassExtension *gLoadedClassExtensions = nullptr;
LoadedModule *gLoadedModules = nullptr;
