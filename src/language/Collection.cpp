#include "language/Collection.h"
#include "language/ClassBuilding.h"
#include "language/LanguageExceptions.h"
#include "language/StringCompare.h"

#include "language/Variant.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

Array *ItemsOf(RuntimeObject *collection) {
  return reinterpret_cast<CollectionObject *>(collection)->items;
}

CollectionItem *ItemAt(Array *items, int32_t position) {
  return static_cast<CollectionItem *>(items->GetElement(position));
}

void DestroyItem(CollectionItem *item) {
  RuntimeUnlockObject(item->value);
  delete item;
}

// The 0-based position of a valid 1-based index; -1 (after the raise) else.
int32_t PositionOf(RuntimeObject *collection, int32_t index) {
  if (index < 1 || index > collectionCount(collection, 0)) {
    RaiseOutOfBounds();
    return -1;
  }
  return index - 1;
}

int32_t FindKey(RuntimeObject *collection, stringStorage *keyStorage) {
  const string key = string::Borrow(keyStorage);
  Array *items = ItemsOf(collection);
  for (int32_t i = 0; items && i < items->GetCount(); ++i)
    if (RuntimeStringCompare(ItemAt(items, i)->key.Storage(), key.Storage()) == 0)
      return i;
  return -1;
}

// The item leaves the array before it is destroyed, so a destructor that its
// value runs sees the collection without it.
void RemoveAt(RuntimeObject *collection, int32_t position) {
  Array *items = ItemsOf(collection);
  CollectionItem *item = ItemAt(items, position);
  items->RemoveElement(position);
  DestroyItem(item);
}

void DestroyCollection(RuntimeObject *collection) {
  auto *self = reinterpret_cast<CollectionObject *>(collection);
  Array *items = self->items;
  self->items = nullptr;
  if (!items)
    return;
  for (int32_t i = 0; i < items->GetCount(); ++i)
    DestroyItem(ItemAt(items, i));
  delete items;
}

RuntimeObject *Retained(RuntimeObject *object) {
  RuntimeLockObject(object);
  return object;
}

} // namespace

ObjectDefinition *CollectionElementClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    DefineBuiltinClass(defn, {"CollectionElement", sizeof(RuntimeObject)}, nullptr, 0, nullptr, 0);
  return &defn;
}

ObjectDefinition *CollectionClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *variant = VariantClass()->AsType();
  static MethodParameter sIndex[] = {{"index", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sKey[] = {{"key", &stringType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sAdd[] = {{"value", nullptr, 0, {}, 0, {}, 0, {}},
                                   {"key", &stringType.type, 0, {}, 1, {}, 0, {}}};
  sAdd[0].type = variant;
  static ObjectInstanceTemplate sProperties[] = {
      {kConsoleAvailableFlag, "Count", &integerType.type, EntryCode(collectionCount),
       "collectionCount", nullptr, nullptr, 0, 0},
  };
  PropertyMethod methods[] = {
      {"Item",
       variant,
       sIndex,
       1,
       {{EntryCode(collectionIdxItem), "collectionIdxItem", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"Item",
       variant,
       sKey,
       1,
       {{EntryCode(collectionItem), "collectionItem", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"Add",
       nullptr,
       sAdd,
       2,
       {{EntryCode(collectionAdd), "collectionAdd", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"Remove",
       nullptr,
       sIndex,
       1,
       {{EntryCode(collectionIdxRemove), "collectionIdxRemove", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"Remove",
       nullptr,
       sKey,
       1,
       {{EntryCode(collectionKeyRemove), "collectionKeyRemove", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
  };
  DefineBuiltinClass(defn,
                     {"Collection", sizeof(CollectionObject), nullptr, DestroyCollection, true},
                     sProperties, 1, methods, 5);
  AddRelocEntry("RuntimeLookupCollectionClass", EntryCode(RuntimeLookupCollectionClass));
  AddRelocEntry("RuntimeLookupCollectionElementClass",
                EntryCode(RuntimeLookupCollectionElementClass));
  return &defn;
}

extern "C" RuntimeClass *RuntimeLookupCollectionClass() {
  return LookupObjectDefinition(CollectionClass());
}

extern "C" RuntimeClass *RuntimeLookupCollectionElementClass() {
  return LookupObjectDefinition(CollectionElementClass());
}

extern "C" int32_t collectionCount(RuntimeObject *collection, int32_t) {
  Array *items = ItemsOf(collection);
  return items ? items->GetCount() : 0;
}

extern "C" RuntimeObject *collectionIdxItem(RuntimeObject *collection, int32_t index) {
  const int32_t position = PositionOf(collection, index);
  return position < 0 ? nullptr : Retained(ItemAt(ItemsOf(collection), position)->value);
}

extern "C" RuntimeObject *collectionItem(RuntimeObject *collection, stringStorage *key) {
  const int32_t position = FindKey(collection, key);
  return position < 0 ? nullptr : Retained(ItemAt(ItemsOf(collection), position)->value);
}

extern "C" void collectionAdd(RuntimeObject *collection, RuntimeObject *value, stringStorage *key) {
  auto *self = reinterpret_cast<CollectionObject *>(collection);
  if (!self->items)
    self->items = new Array;
  self->items->AppendItem(new CollectionItem{string::Borrow(key), Retained(value)});
}

extern "C" void collectionIdxRemove(RuntimeObject *collection, int32_t index) {
  const int32_t position = PositionOf(collection, index);
  if (position >= 0)
    RemoveAt(collection, position);
}

extern "C" void collectionKeyRemove(RuntimeObject *collection, stringStorage *key) {
  const int32_t position = FindKey(collection, key);
  if (position >= 0)
    RemoveAt(collection, position);
}
