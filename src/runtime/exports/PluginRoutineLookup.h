// Entry points that plug-ins look up by descriptor: a kind letter, then a
// class name, "!" and a member name, or the kind letter and the name of a
// routine that belongs to no class. Kinds: 'M' a method's function, 'W' the
// second function its record carries, 'G' a property getter, 'S' a setter.
#pragma once
#include "foundation/String.h"

struct PropertyMethod;

// The address, or nil when nothing matches. A class name that no registry
// knows is shown with the assertion alert and the search goes on without a
// class; so is an unknown kind letter, which answers nil.
void *getPluginRoutineToc(const char *descriptor);

// The first global method a plug-in registered under that name (letter case
// ignored), or nil. Supplied by the plug-in interface.
const PropertyMethod *FindPluginGlobalMethod(const string &name);
