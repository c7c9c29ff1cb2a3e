// Until the plug-in interface is built no plug-in registers global methods.
#include "runtime/exports/PluginRoutineLookup.h"

__attribute__((weak)) const PropertyMethod *FindPluginGlobalMethod(const string &) {
  return nullptr;
}
