// The ObjectCursor class: hands out objects one by one from its NextObject
// event and keeps every object it has handed out, so they can be fetched
// again by position.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/Array.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct ObjectCursorObject {
  RuntimeObject header;
  Array *fetched;    // the objects handed out so far, one reference each
  uint8_t exhausted; // NextObject answered nil once
};
static_assert(sizeof(ObjectCursorObject) == 32);
static_assert(offsetof(ObjectCursorObject, fetched) == 24);
static_assert(offsetof(ObjectCursorObject, exhausted) == 28);

ObjectDefinition *ObjectCursorClass();

extern "C" {
// The next object from the NextObject handler (nil once it answered nil),
// with one reference for the caller.
RuntimeObject *objectCursorNextObject(RuntimeObject *cursor);
// The object at the 1-based position, fetching as far as needed; nil for
// positions of 0 or less and past the end.
RuntimeObject *objectCursorGetItem(RuntimeObject *cursor, int32_t index);
// Fetches everything and answers how many objects there were.
int32_t objectCursorCountGetter(RuntimeObject *cursor, int32_t param);
}
