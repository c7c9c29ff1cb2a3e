// Shape objects made as the language makes them, for the shape tests.
#pragma once
#include <cstdint>

#include "graphics/Shapes2D.h"
#include "runtime/objects/ClassLookup.h"

template <typename T>
T *NewShape(ObjectDefinition *(*builder)()) {
  return reinterpret_cast<T *>(CreateInstance(builder()));
}

inline RuntimeObject *Obj(void *shape) { return static_cast<RuntimeObject *>(shape); }
inline void Release(void *shape) { RuntimeUnlockObject(Obj(shape)); }

// The byte offset of a field, as the property rows pass it.
template <typename T, typename M>
int32_t FieldOf(T *shape, M *member) {
  return static_cast<int32_t>(reinterpret_cast<char *>(member) - reinterpret_cast<char *>(shape));
}
