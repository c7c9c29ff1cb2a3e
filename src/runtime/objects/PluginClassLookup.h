// The classes that plug-ins register, as the class lookup by name sees them.
// The plug-in area supplies them.
#pragma once
#include "foundation/String.h"

struct ObjectDefinition;

// The class a plug-in registered under that name (letter case ignored), or nil.
ObjectDefinition *FindPluginClass(const string &name);
// The first plug-in control whose class name matches, or nil.
ObjectDefinition *FindPluginControlClass(const string &name);
