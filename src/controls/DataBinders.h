// The four binder classes that tie a source object to a destination by
// their interfaces, and what the notifier lists tell the data binders.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

struct ObjectDefinition;

struct BinderObject {
  RuntimeObject header;
  RuntimeObject *source; // not counted: the source's list holds the binder
  RuntimeObject *dest;   // counted
};
static_assert(sizeof(BinderObject) == 32);
static_assert(offsetof(BinderObject, source) == 24);
static_assert(offsetof(BinderObject, dest) == 28);

ObjectDefinition *EnablingBinderClass();
ObjectDefinition *ActionBinderClass();
ObjectDefinition *StringBinderClass();
ObjectDefinition *ListBinderClass();
// Registers the data-binding interfaces and binders (start-up).
void CreateDataBindClasses();

// The code of the interface method of that name (case ignored) on the
// object; nil for nil, for an object whose class does not implement the
// interface, and for a missing method.
void *InterfaceMethod(RuntimeObject *object, ObjectDefinition *iface, const char *name);
template <typename F> F InterfaceMethodAs(RuntimeObject *object, ObjectDefinition *iface,
                                          const char *name) {
  return reinterpret_cast<F>(InterfaceMethod(object, iface, name));
}

// A notifier list embedded at list is being cleared because its object
// goes: a data binder whose source is that object forgets it.
void ForgetDyingSource(RuntimeObject *receiver, const void *list);

extern "C" {
void enablingBinderBind(RuntimeObject *binder, RuntimeObject *source, RuntimeObject *dest);
void enablingBinderReload(RuntimeObject *binder);
void actionBinderBind(RuntimeObject *binder, RuntimeObject *source, RuntimeObject *dest);
void stringBinderBind(RuntimeObject *binder, RuntimeObject *source, RuntimeObject *dest);
void stringBinderReload(RuntimeObject *binder);
void listBinderBind(RuntimeObject *binder, RuntimeObject *source, RuntimeObject *dest);
}
