#include "runtime/objects/PluginClassLookup.h"

__attribute__((weak)) ObjectDefinition *FindPluginClass(const string &) { return nullptr; }
__attribute__((weak)) ObjectDefinition *FindPluginControlClass(const string &) { return nullptr; }
