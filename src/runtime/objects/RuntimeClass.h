// The run-time class record and its entry tables. Compiled code of the
// application image reads and writes these records at fixed byte offsets, so
// every layout here is pinned; all fields are 32-bit.
#pragma once
#include <cstddef>
#include <cstdint>

struct stringStorage;
struct RuntimeObject;
struct RuntimeClass;

using ObjectProc = void (*)(RuntimeObject *object);

// One slot of a method table (also of an interface table and of the static
// methods): the function and its link name.
struct MethodEntry {
  void *code;
  stringStorage *linkName; // nil where unnamed
};
using StaticMethodEntry = MethodEntry;

// The handler a class (or one object) has for an event, and the event's name.
// An event keeps its index in every subclass.
struct EventEntry {
  void *vector; // nil when there is no handler
  stringStorage *name;
};

// A published property. A getter or setter of kGenericAccessor stands for the
// generic field accessor of the property's type at byte offset param.
struct PropertyEntry {
  stringStorage *name; // property name, "%", type code ("Message%s")
  int32_t param;
  void *getter;
  void *setter; // nil for a read-only property
};
inline void *const kGenericAccessor = reinterpret_cast<void *>(1);

// The method table a class uses for one interface it implements.
struct InterfaceEntry {
  RuntimeClass *interfaceClass;
  int32_t methodCount;
  MethodEntry *vtable;
};

// One block: this 68-byte head, then the interface entries inline, then the
// method, event, static-method and property entries, each array behind the
// one before.
struct RuntimeClass {
  RuntimeClass *base;  // nil for a root class
  stringStorage *name; // holds one reference
  void *reserved;
  int32_t instanceSize; // header included
  int32_t isAnInterface;
  ObjectProc constructor;    // run at creation, root class first
  ObjectProc destructorHook; // run when the count reaches zero, most derived first
  ObjectProc destructor;     // run when the memory is released, most derived first
  int32_t methodCount;
  MethodEntry *methods;
  int32_t eventCount;
  EventEntry *events;
  int32_t staticMethodCount;
  StaticMethodEntry *staticMethods;
  int32_t propertyCount;
  PropertyEntry *properties;
  int32_t interfaceCount;
  InterfaceEntry interfaces[];
};

static_assert(sizeof(MethodEntry) == 8);
static_assert(offsetof(MethodEntry, code) == 0 && offsetof(MethodEntry, linkName) == 4);
static_assert(sizeof(EventEntry) == 8);
static_assert(offsetof(EventEntry, vector) == 0 && offsetof(EventEntry, name) == 4);
static_assert(sizeof(PropertyEntry) == 16);
static_assert(offsetof(PropertyEntry, name) == 0 && offsetof(PropertyEntry, param) == 4 &&
              offsetof(PropertyEntry, getter) == 8 && offsetof(PropertyEntry, setter) == 12);
static_assert(sizeof(InterfaceEntry) == 12);
static_assert(offsetof(InterfaceEntry, interfaceClass) == 0 &&
              offsetof(InterfaceEntry, methodCount) == 4 && offsetof(InterfaceEntry, vtable) == 8);
static_assert(sizeof(RuntimeClass) == 68);
static_assert(offsetof(RuntimeClass, base) == 0);
static_assert(offsetof(RuntimeClass, name) == 4);
static_assert(offsetof(RuntimeClass, reserved) == 8);
static_assert(offsetof(RuntimeClass, instanceSize) == 12);
static_assert(offsetof(RuntimeClass, isAnInterface) == 16);
static_assert(offsetof(RuntimeClass, constructor) == 20);
static_assert(offsetof(RuntimeClass, destructorHook) == 24);
static_assert(offsetof(RuntimeClass, destructor) == 28);
static_assert(offsetof(RuntimeClass, methodCount) == 32);
static_assert(offsetof(RuntimeClass, methods) == 36);
static_assert(offsetof(RuntimeClass, eventCount) == 40);
static_assert(offsetof(RuntimeClass, events) == 44);
static_assert(offsetof(RuntimeClass, staticMethodCount) == 48);
static_assert(offsetof(RuntimeClass, staticMethods) == 52);
static_assert(offsetof(RuntimeClass, propertyCount) == 56);
static_assert(offsetof(RuntimeClass, properties) == 60);
static_assert(offsetof(RuntimeClass, interfaceCount) == 64);
static_assert(offsetof(RuntimeClass, interfaces) == 68);

// A zero-filled class record with room for the given table sizes; with a
// base, its five tables are copied in (names shared, no references added).
// Allocation failure raises NilObjectException and answers nil. The caller
// sets name, instanceSize, isAnInterface, the three functions and its own
// entries. Records are never freed.
extern "C" RuntimeClass *RuntimeNewClass(RuntimeClass *base, int32_t methodCount,
                                         int32_t interfaceCount, int32_t eventCount,
                                         int32_t staticMethodCount, int32_t propertyCount);

// A zero-filled method table of count entries for an interface entry; never
// freed. Allocation failure raises NilObjectException and answers nil.
extern "C" MethodEntry *RuntimeNewVtable(int32_t count);
