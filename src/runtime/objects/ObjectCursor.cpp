#include "runtime/objects/ObjectCursor.h"

#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/startup/BuiltinClassBuilders.h"


namespace {

ObjectCursorObject *AsCursor(RuntimeObject *object) {
  return reinterpret_cast<ObjectCursorObject *>(object);
}

ObjectHookTemplate ObjectCursorHooks[] = {
    {0, "NextObject", "", "Object", nullptr, 0},
    {0, "Remove", "", "Boolean", nullptr, 0},
    {0, "PropertyCount", "", "Integer", nullptr, 0},
    {0, "PropertyName", "", "String", nullptr, 0},
    {0, "GetPropertyValue", "", "String", nullptr, 0},
};

ObjectInstanceTemplate ObjectCursorProperties[] = {
    {0x4, "Count", &integerType.type, reinterpret_cast<void *>(objectCursorCountGetter),
     "objectCursorCountGetter", nullptr, nullptr, 0, 0},
};

MethodParameter sGetItemParams[] = {{"Value", &integerType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod ObjectCursorMethods[] = {
    {"NextObject",
     nullptr,
     nullptr,
     0,
     {{reinterpret_cast<void *>(objectCursorNextObject), "objectCursorNextObject", {}}, {}},
     0,
     0x4,
     0},
    {"GetItem",
     nullptr,
     sGetItemParams,
     1,
     {{reinterpret_cast<void *>(objectCursorGetItem), "objectCursorGetItem", {}}, {}},
     0,
     0x4,
     0},
};

void objectCursorConstructor(RuntimeObject *object) { AsCursor(object)->fetched = new Array; }

void objectCursorDestructor(RuntimeObject *object) {
  Array *fetched = AsCursor(object)->fetched;
  if (!fetched)
    return;
  for (int32_t i = 0; i < fetched->GetCount(); ++i)
    RuntimeUnlockObject(static_cast<RuntimeObject *>(fetched->GetElement(i)));
  delete fetched;
  AsCursor(object)->fetched = nullptr;
}

// Fetches one more object and drops the reference the fetch handed over (the
// cursor keeps its own); false once the cursor is exhausted.
bool FetchOneMore(RuntimeObject *cursor) {
  RuntimeObject *object = objectCursorNextObject(cursor);
  RuntimeUnlockObject(object);
  return object != nullptr;
}

} // namespace

ObjectDefinition *ObjectCursorClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static bool sMethodTypesFilled = false;
  if (!sMethodTypesFilled) {
    // The element class of collections belongs to the language area.
    ObjectDefinition *element = BuiltinClassOrNil(GetBuiltinClassHooks().CollectionElementClass);
    for (PropertyMethod &row : ObjectCursorMethods)
      row.returnType = element ? element->AsType() : nullptr;
    sMethodTypesFilled = true;
  }
  defn.className = string("ObjectCursor");
  defn.objectSize = sizeof(ObjectCursorObject);
  defn.constructor = objectCursorConstructor;
  defn.destructor = objectCursorDestructor;
  defn.staticTables = 1;
  defn.properties = FillInstances(ObjectCursorProperties, 1);
  defn.methods = FillMethods(ObjectCursorMethods, 2);
  FillHooks(&defn, ObjectCursorHooks, 5);
  defn.consoleSafe = 1;
  return &defn;
}

extern "C" RuntimeObject *objectCursorNextObject(RuntimeObject *cursor) {
  ObjectCursorObject *self = AsCursor(cursor);
  if (self->exhausted)
    return nullptr;
  using NextObjectHandler = RuntimeObject *(*)(RuntimeObject *);
  auto handler =
      reinterpret_cast<NextObjectHandler>(FindObjectCode(cursor, ObjectCursorHooks[0].hook));
  RuntimeObject *object = handler ? handler(cursor) : nullptr;
  if (!object) {
    self->exhausted = 1;
    return nullptr;
  }
  RuntimeLockObject(object);
  self->fetched->AppendItem(object);
  return object; // the handler's reference passes to the caller
}

extern "C" RuntimeObject *objectCursorGetItem(RuntimeObject *cursor, int32_t index) {
  if (index <= 0)
    return nullptr;
  Array *fetched = AsCursor(cursor)->fetched;
  while (fetched->GetCount() < index)
    if (!FetchOneMore(cursor))
      return nullptr;
  auto *object = static_cast<RuntimeObject *>(fetched->GetElement(index - 1));
  RuntimeLockObject(object);
  return object;
}

extern "C" int32_t objectCursorCountGetter(RuntimeObject *cursor, int32_t) {
  while (!AsCursor(cursor)->exhausted)
    FetchOneMore(cursor);
  return AsCursor(cursor)->fetched->GetCount();
}
