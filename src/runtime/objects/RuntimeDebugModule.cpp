#include "runtime/objects/RuntimeDebugModule.h"

#include "foundation/AssertionAlert.h"
#include "foundation/Memory.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

RuntimeObject *sRuntimeInstance = nullptr;

constexpr int32_t kObjectIDMask = 0x15C7A3;

void RuntimeDebugDestructor(RuntimeObject *object) {
  if (object == sRuntimeInstance)
    sRuntimeInstance = nullptr;
}

// The live object at a 0-based position among those other than self; a
// negative index gives the first.
RuntimeObject *LiveObjectAt(RuntimeObject *self, int32_t index) {
  RuntimeObject *object = GetActiveObjectListHead();
  if (object == self)
    object = object->next;
  for (int32_t i = 0; i < index && object; ++i) {
    object = object->next;
    if (object == self)
      object = object->next;
  }
  return object;
}

void *Code(auto function) { return reinterpret_cast<void *>(function); }

MethodParameter sIndexParams[] = {{"Index", &integerType.type, 0, {}, 0, {}, 0, {}}};

ObjectInstanceTemplate RuntimeDebugProperties[] = {
    {0x4, "ObjectCount", &integerType.type, Code(RuntimeDebugObjectCount),
     "RuntimeDebugObjectCount", nullptr, nullptr, 0, 0},
    {0x4, "MemoryUsed", &integerType.type, Code(RuntimeDebugMemoryUsed), "RuntimeDebugMemoryUsed",
     nullptr, nullptr, 0, 0},
};

PropertyMethod RuntimeDebugMethods[] = {
    {"ObjectID",
     &integerType.type,
     sIndexParams,
     1,
     {{Code(RuntimeDebugObjectID), "RuntimeDebugObjectID", {}}, {}},
     0,
     0x4,
     0},
    {"ObjectClass",
     &stringType.type,
     sIndexParams,
     1,
     {{Code(RuntimeDebugObjectClass), "RuntimeDebugObjectClass", {}}, {}},
     0,
     0x4,
     0},
    {"ObjectRefs",
     &integerType.type,
     sIndexParams,
     1,
     {{Code(RuntimeDebugObjectRefs), "RuntimeDebugObjectRefs", {}}, {}},
     0,
     0x4,
     0},
};

} // namespace

ObjectDefinition *RuntimeDebugClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("Runtime");
  defn.objectSize = 28;
  defn.destructor = RuntimeDebugDestructor;
  defn.staticTables = 1;
  defn.properties = FillInstances(RuntimeDebugProperties, 2);
  defn.methods = FillMethods(RuntimeDebugMethods, 3);
  defn.consoleSafe = 1;
  return &defn;
}

extern "C" {

RuntimeObject *RuntimeDebugInstance() {
  if (!sRuntimeInstance)
    sRuntimeInstance = CreateInstance(RuntimeDebugClass()); // kept for the process
  RuntimeLockObject(sRuntimeInstance);
  return sRuntimeInstance;
}

int32_t RuntimeDebugObjectCount(RuntimeObject *self, int32_t) {
  int32_t count = 0;
  for (RuntimeObject *object = GetActiveObjectListHead(); object; object = object->next)
    if (object != self)
      ++count;
  return count;
}

int32_t RuntimeDebugMemoryUsed(RuntimeObject *, int32_t) {
  return static_cast<int32_t>(gTotalAllocLen);
}

int32_t RuntimeDebugObjectID(RuntimeObject *self, int32_t index) {
  RuntimeObject *object = LiveObjectAt(self, index);
  return object ? static_cast<int32_t>(reinterpret_cast<uintptr_t>(object)) ^ kObjectIDMask : 0;
}

stringStorage *RuntimeDebugObjectClass(RuntimeObject *self, int32_t index) {
  RuntimeObject *object = LiveObjectAt(self, index);
  if (!object)
    return nullptr;
  RuntimeClass *defn = object->classPtr;
  if (!RUNTIME_CHECK(defn) || !RUNTIME_CHECK(defn->name))
    return nullptr;
  stringStorage::AddReference(defn->name);
  return defn->name;
}

int32_t RuntimeDebugObjectRefs(RuntimeObject *self, int32_t index) {
  RuntimeObject *object = LiveObjectAt(self, index);
  return object ? object->refCount : 0;
}

} // extern "C"
