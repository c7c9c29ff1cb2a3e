#include "runtime/objects/RuntimeObject.h"

#include <cstring>
#include <emmintrin.h>

#include "foundation/AssertionAlert.h"
#include "foundation/Memory.h"
#include "foundation/SimpleVector.h"
#include "runtime/exceptions/RuntimeExceptions.h"

namespace {

RuntimeObject *sActiveObjectListHead = nullptr;
int32_t sCurrentObjectCount = 0;
ObjectProc sObjectDestructionMonitor = nullptr;

// Objects whose count reached zero while another release was in progress;
// the outermost release frees them, last in first out, so a chain of objects
// whose destructors release each other is freed in a loop, not by recursion.
bool sFreeing = false;
bool sAnyPending = false;
SimpleVector<RuntimeObject *> &PendingFrees() {
  static SimpleVector<RuntimeObject *> pending;
  return pending;
}

// The list links of an object that is known to exist.
inline void LinkAsNewest(RuntimeObject *object) {
  object->previous = nullptr;
  object->next = sActiveObjectListHead;
  if (sActiveObjectListHead)
    sActiveObjectListHead->previous = object;
  sActiveObjectListHead = object;
}

// Unlinks an object whose memory is about to be released (its own links are
// left as they are).
inline void Unlink(RuntimeObject *object) {
  if (object->previous)
    object->previous->next = object->next;
  else if (sActiveObjectListHead == object)
    sActiveObjectListHead = object->next;
  if (object->next)
    object->next->previous = object->previous;
}

// Zeroes an object's own fields in sixteen-byte stores (the last one
// overlapping the one before), without a library call for the usual small
// object.
inline void ZeroFields(char *fields, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  if (n >= 16) {
    for (size_t i = 0; i + 16 < n; i += 16)
      _mm_storeu_si128(reinterpret_cast<__m128i *>(fields + i), zero);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(fields + n - 16), zero);
  } else {
    std::memset(fields, 0, n);
  }
}

// The chain is gathered first and run from the root down, eight classes at a
// time; only deeper hierarchies recurse. Inlined into creation, where it
// saves a frame.
void RunConstructorsRootFirst(RuntimeClass *cls, RuntimeObject *object);

__attribute__((always_inline)) inline void RunChainRootFirst(RuntimeClass *cls,
                                                             RuntimeObject *object) {
  constexpr int kDepth = 8;
  RuntimeClass *chain[kDepth];
  int n = 0;
  RuntimeClass *c = cls;
  for (; c && n < kDepth; c = c->base)
    chain[n++] = c;
  if (c)
    RunConstructorsRootFirst(c, object);
  while (n > 0)
    if (ObjectProc constructor = chain[--n]->constructor)
      constructor(object);
}

void RunConstructorsRootFirst(RuntimeClass *cls, RuntimeObject *object) {
  RunChainRootFirst(cls, object);
}

size_t EventTableBytes(const RuntimeClass *cls) {
  return cls->eventCount > 0 ? sizeof(EventEntry) * cls->eventCount : 0;
}

inline void ReleaseObjectMemory(RuntimeObject *object) {
  RuntimeClass *cls = object->classPtr;
  for (RuntimeClass *c = cls; c; c = c->base)
    if (c->destructor)
      c->destructor(object);
  if (sObjectDestructionMonitor)
    sObjectDestructionMonitor(object);
  if (object->eventTable && object->eventTable != cls->events)
    OSfreelen(reinterpret_cast<char *>(object->eventTable), EventTableBytes(cls));
  Unlink(object);
  OSfreelenQuick(reinterpret_cast<char *>(object), cls->instanceSize);
  --sCurrentObjectCount;
}

// Inlined into its one caller, which saves a frame on every release.
__attribute__((always_inline)) inline void DestroyObject(RuntimeObject *object) {
  for (RuntimeClass *c = object->classPtr; c; c = c->base)
    if (c->destructorHook)
      c->destructorHook(object);
  if (sFreeing) {
    PendingFrees().push_back(object);
    sAnyPending = true;
    return;
  }
  sFreeing = true;
  for (;;) {
    ReleaseObjectMemory(object);
    if (!sAnyPending)
      break;
    SimpleVector<RuntimeObject *> &pending = PendingFrees();
    if (pending.count() == 0) {
      sAnyPending = false;
      break;
    }
    object = pending.pop_back();
  }
  sFreeing = false;
}

} // namespace

namespace {
// Creation refused: a nil class raises NilObjectException; an interface has
// no instances, and a size below the header's would let the header be
// written past the block, so both alert.
__attribute__((noinline, cold)) RuntimeObject *RefuseNewObject(RuntimeClass *parent) {
  if (!parent) {
    RaiseNilObjectException();
    return nullptr;
  }
  if (RUNTIME_CHECK(!parent->isAnInterface))
    RUNTIME_CHECK(parent->instanceSize >= int32_t(sizeof(RuntimeObject)));
  return nullptr;
}
} // namespace

extern "C" RuntimeObject *RuntimeNewObject(RuntimeClass *parent) {
  if (__builtin_expect(!parent || parent->isAnInterface ||
                           parent->instanceSize < int32_t(sizeof(RuntimeObject)),
                       0))
    return RefuseNewObject(parent);
  int32_t size = parent->instanceSize;
  auto *object = reinterpret_cast<RuntimeObject *>(OSalloclenQuick(size, kMemFullReturnNull));
  if (!object) {
    RaiseNilObjectException();
    return nullptr;
  }
  ++sCurrentObjectCount;
  // Every header field is set below; the class's own fields start at zero.
  ZeroFields(reinterpret_cast<char *>(object + 1), size_t(size) - sizeof(RuntimeObject));
  LinkAsNewest(object);
  object->classPtr = parent;
  object->vtable = parent->methods;
  object->eventTable = parent->events;
  object->refCount = 1;
  if (parent->base || parent->constructor)
    RunChainRootFirst(parent, object);
  return object;
}

extern "C" void RuntimeLockObject(RuntimeObject *object) {
  if (object && object->refCount != 0)
    ++object->refCount;
}

extern "C" void RuntimeUnlockObject(RuntimeObject *object) {
  if (!object || object->refCount <= 0)
    return;
  if (--object->refCount == 0)
    DestroyObject(object);
}

extern "C" void RuntimeLockUnlockObjects(RuntimeObject *newObject, RuntimeObject *oldObject) {
  if (newObject == oldObject)
    return;
  RuntimeLockObject(newObject);
  RuntimeUnlockObject(oldObject);
}

EventEntry *MakePrivateEventTable(RuntimeObject *object) {
  if (!object)
    return nullptr;
  RuntimeClass *cls = object->classPtr;
  if (object->eventTable && object->eventTable != cls->events)
    return object->eventTable;
  size_t bytes = EventTableBytes(cls);
  if (!bytes)
    return nullptr;
  auto *table = reinterpret_cast<EventEntry *>(OSalloclen(bytes, kMemFullReturnNull));
  if (!table)
    return nullptr;
  std::memcpy(table, cls->events, bytes);
  object->eventTable = table;
  return table;
}

RuntimeObject *GetActiveObjectListHead() { return sActiveObjectListHead; }

int32_t CountAllocatedObjects() { return sCurrentObjectCount; }

void SetObjectDestructionMonitor(ObjectProc monitor) { sObjectDestructionMonitor = monitor; }
