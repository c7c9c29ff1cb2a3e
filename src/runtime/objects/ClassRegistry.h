// The registry of built-in classes and modules by name, and the services by
// which runtime code talks to language objects through interfaces.
#pragma once
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// Adds (or replaces) the class under its name and registers the export names
// of its methods and property accessors.
void addIntrinsicClass(ObjectDefinition *defn);
// The same for a module: a definition of functions only.
void AddIntrinsicModule(ObjectDefinition *defn);
// The registered class of that name (letter case ignored); nil when none.
ObjectDefinition *getIntrinsicClass(const string &name);
ObjectDefinition *getIntrinsicModule(const string &name);
void DisposeIntrinsicClassMap();
void DisposeIntrinsicModuleMap();

// Whether the object's class implements the interface.
bool supportsInterface(RuntimeObject *object, ObjectDefinition *interfaceDefn);
// The code of the interface method of that name (letter case ignored) in the
// object's class, or nil.
void *interfaceMethodProc(RuntimeObject *object, ObjectDefinition *interfaceDefn,
                          const string &methodName);
