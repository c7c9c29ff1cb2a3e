// What the value classes' builders share: the entry-point address of a
// function, and the filling of a definition from its shape and tables.
#pragma once
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"

template <typename F>
void *EntryCode(F f) {
  return reinterpret_cast<void *>(f);
}

struct BuiltinShape {
  const char *name;
  int32_t objectSize;
  ObjectProc constructor = nullptr;
  ObjectProc destructor = nullptr;
  bool newAllowed = false;
};

// A console-safe class with static tables; empty tables leave their lists nil.
inline void DefineBuiltinClass(ObjectDefinition &defn, const BuiltinShape &shape,
                               ObjectInstanceTemplate *properties, int32_t propertyCount,
                               PropertyMethod *methods, int32_t methodCount) {
  defn.className = string(shape.name);
  defn.objectSize = shape.objectSize;
  defn.constructor = shape.constructor;
  defn.destructor = shape.destructor;
  defn.newAllowed = shape.newAllowed ? 1 : 0;
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.properties = FillInstances(properties, propertyCount);
  defn.methods = FillMethods(methods, methodCount);
}
