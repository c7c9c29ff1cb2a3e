// Language objects: the header that begins every object, their creation,
// reference counting and destruction, class tests and casts, and the list of
// live objects.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/RuntimeClass.h"

// The header at the start of every object; the class's own fields follow at
// offset 24.
struct RuntimeObject {
  MethodEntry *vtable; // the class's methods
  RuntimeClass *classPtr;
  EventEntry *eventTable;  // the class's events, or a private copy owned by the object
  int32_t refCount;        // 1 after creation; 0 marks an object that is not counted
  RuntimeObject *previous; // towards the head of the live-object list (newest)
  RuntimeObject *next;
};
static_assert(sizeof(RuntimeObject) == 24);
static_assert(offsetof(RuntimeObject, vtable) == 0);
static_assert(offsetof(RuntimeObject, classPtr) == 4);
static_assert(offsetof(RuntimeObject, eventTable) == 8);
static_assert(offsetof(RuntimeObject, refCount) == 12);
static_assert(offsetof(RuntimeObject, previous) == 16);
static_assert(offsetof(RuntimeObject, next) == 20);

// Creates an object with one reference and runs the constructors, root class
// first. A nil class raises NilObjectException; an interface class shows the
// alert; both answer nil.
extern "C" RuntimeObject *RuntimeNewObject(RuntimeClass *cls);

// Reference counting. Nil and objects whose count is 0 (or, for unlocking,
// below 0) are left alone. At zero the destructor hooks run at once, and the
// memory is released when no other release is in progress further up the
// stack (a chain of releases therefore runs in constant stack depth).
extern "C" void RuntimeLockObject(RuntimeObject *object);
extern "C" void RuntimeUnlockObject(RuntimeObject *object);
// Reference assignment: when they differ, locks the new one, then unlocks the old.
extern "C" void RuntimeLockUnlockObjects(RuntimeObject *newObject, RuntimeObject *oldObject);

// Class or interface test: false for a nil object, true for a nil class.
extern "C" int32_t RuntimeObjectIsa(RuntimeObject *object, RuntimeClass *cls);
// Cast with a class test. The result carries one reference for the caller;
// a failed test raises IllegalCastException and answers nil.
extern "C" RuntimeObject *RuntimeCheckCast(RuntimeObject *object, RuntimeClass *cls);
extern "C" RuntimeClass *RuntimeClassOf(RuntimeObject *object); // nil for nil
// The table the object's class uses for an interface. Nil arguments raise
// NilObjectException, anything else that fails IllegalCastException.
extern "C" MethodEntry *RuntimeLookupInterfaceVtable(RuntimeObject *object,
                                                     RuntimeClass *interfaceClass);

// The object's own event table, copied from its class's on first use so that
// handlers can be installed on this object alone; freed with the object.
// Nil when the object has no events or the copy cannot be allocated.
EventEntry *MakePrivateEventTable(RuntimeObject *object);

// The newest live object; follow next for older ones.
RuntimeObject *GetActiveObjectListHead();
// Objects allocated and not yet freed.
int32_t CountAllocatedObjects();
// A function called for every object just before its memory is released;
// nil removes it.
void SetObjectDestructionMonitor(ObjectProc monitor);
