// The language's Collection: an ordered list of variant values, each with an
// optional String key, addressed by 1-based position or by the first key
// that matches ignoring case. And CollectionElement, the member-less class
// that ObjectCursor's NextObject declares as its result.
#pragma once
#include <cstddef>

#include "foundation/Array.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct CollectionItem {
  string key;           // empty when none was given
  RuntimeObject *value; // one reference
};

struct CollectionObject {
  RuntimeObject header;
  Array *items; // of CollectionItem pointers; nil until the first Add
};
static_assert(sizeof(CollectionObject) == 28);
static_assert(offsetof(CollectionObject, items) == 24);

ObjectDefinition *CollectionClass();
ObjectDefinition *CollectionElementClass();

extern "C" {
int32_t collectionCount(RuntimeObject *collection, int32_t param);
RuntimeObject *collectionIdxItem(RuntimeObject *collection, int32_t index);
RuntimeObject *collectionItem(RuntimeObject *collection, stringStorage *key);
void collectionAdd(RuntimeObject *collection, RuntimeObject *value, stringStorage *key);
void collectionIdxRemove(RuntimeObject *collection, int32_t index);
void collectionKeyRemove(RuntimeObject *collection, stringStorage *key);
RuntimeClass *RuntimeLookupCollectionClass();
RuntimeClass *RuntimeLookupCollectionElementClass();
}
