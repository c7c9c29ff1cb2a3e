// The Runtime module of the language: a view of the live objects and of the
// memory in use, through one shared object, and the dump of live objects to a
// file.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

ObjectDefinition *RuntimeDebugClass();

// "Live objects" below are those of the live-object list, newest first,
// other than the Runtime object itself; Index counts from 0 among them.
extern "C" {
// The one Runtime object, created on first use, with one reference added.
RuntimeObject *RuntimeDebugInstance();
int32_t RuntimeDebugObjectCount(RuntimeObject *self, int32_t param);
int32_t RuntimeDebugMemoryUsed(RuntimeObject *self, int32_t param); // bytes the allocator holds
// The object's address disguised (exclusive-or 0x15C7A3); 0 when there is none.
int32_t RuntimeDebugObjectID(RuntimeObject *self, int32_t index);
// Its class name with one reference; nil when there is no such object.
stringStorage *RuntimeDebugObjectClass(RuntimeObject *self, int32_t index);
int32_t RuntimeDebugObjectRefs(RuntimeObject *self, int32_t index); // 0 when none

// Writes the memory in use, the count of live objects and each one's class
// name, one line each, to the file at path.
void debugDumpObjects(stringStorage *path);
}
