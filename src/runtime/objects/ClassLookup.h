// Finding classes by name and creating instances of built-in classes.
#pragma once
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// The definition of a built-in class, then a plug-in class, then a plug-in
// control, by name (letter case ignored); nil when none has that name.
ObjectDefinition *FindDefinitionByName(const string &name);
// The type of a class another area builds: its builder's definition (when
// the builder is linked), else the registered class of that name, else a
// stand-in that carries only the name, so that members still declare their
// class (link names read it).
PropertyType *ForeignClassType(ObjectDefinition *(*builder)(), const char *name);
// A built-in or plug-in class by name (letter case ignored), converted and
// cached; nil when no class of that name is known.
extern "C" RuntimeClass *RuntimeLookupClass(stringStorage *name);
// An object of the definition's class with one reference.
extern "C" RuntimeObject *CreateInstance(ObjectDefinition *defn);
