// The static records that describe built-in classes (and the global functions
// and plug-in classes): method, parameter, property, event and constant rows,
// and the Fill functions that turn rows into the items of a class definition.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/PropertyTypeDescriptor.h"

struct ObjectDefinition;
struct ObjectMethod;
struct InstanceVariable;
struct ObjectHook;

// An entry point's address as the rows store it.
template <typename F>
void *EntryCode(F *function) {
  return reinterpret_cast<void *>(function);
}

// Flag words of the rows.
constexpr int32_t kConsoleAvailableFlag = 0x4; // also in console applications
constexpr int32_t kConsoleOnlyFlags = 0x804;   // only in console applications

// One implementation of a method: its code and the name under which the
// export table offers it. The five further words stay zero, except that the
// last carries an interface method's number.
struct MethodImplementation {
  void *code;
  const char *exportName;
  int32_t reserved[5];
};
static_assert(sizeof(MethodImplementation) == 28);
static_assert(offsetof(MethodImplementation, exportName) == 4);

struct MethodParameter {
  const char *name;
  PropertyType *type;
  uint8_t byReference;
  uint8_t pad1[3];
  uint8_t hasDefault;
  uint8_t pad2[3];
  intptr_t defaultValue; // a stringStorage for strings, the number for numbers
  int32_t reserved[3];
};
static_assert(sizeof(MethodParameter) == 32);
static_assert(offsetof(MethodParameter, type) == 4);
static_assert(offsetof(MethodParameter, byReference) == 8);
static_assert(offsetof(MethodParameter, hasDefault) == 12);
static_assert(offsetof(MethodParameter, defaultValue) == 16);

enum MethodKind : int32_t {
  kPlainMethod = 0,
  kExtendsMethod = 1, // the first parameter is the object it is called on
  kAssignsMethod = 2, // the last parameter is the assigned value
  kExtendsAssignsMethod = 3,
};

// The method row.
struct PropertyMethod {
  const char *name;
  PropertyType *returnType; // nil for none
  MethodParameter *params;
  int32_t paramCount;
  MethodImplementation implementation[2]; // method or getter; setter of an Assigns method
  int32_t methodKind;
  int32_t flags;
  int32_t commonWord;
};
static_assert(sizeof(PropertyMethod) == 84);
static_assert(offsetof(PropertyMethod, returnType) == 4);
static_assert(offsetof(PropertyMethod, params) == 8);
static_assert(offsetof(PropertyMethod, paramCount) == 12);
static_assert(offsetof(PropertyMethod, implementation) == 16);
static_assert(offsetof(PropertyMethod, methodKind) == 72);
static_assert(offsetof(PropertyMethod, flags) == 76);
static_assert(offsetof(PropertyMethod, commonWord) == 80);

// The property row; param is the field's byte offset for the generic accessors.
struct ObjectInstanceTemplate {
  int32_t flags;
  const char *name;
  PropertyType *type;
  void *getter;
  const char *getterExportName;
  void *setter; // nil: read-only
  const char *setterExportName;
  int32_t param;
  int32_t commonWord;
};
static_assert(sizeof(ObjectInstanceTemplate) == 36);
static_assert(offsetof(ObjectInstanceTemplate, getter) == 12);
static_assert(offsetof(ObjectInstanceTemplate, setter) == 20);
static_assert(offsetof(ObjectInstanceTemplate, param) == 28);

// The event row. FillHooks writes the event declaration it makes into hook;
// code that fires the event reads it from there.
struct ObjectHookTemplate {
  int32_t flags;
  const char *name;
  const char *params;
  const char *returnType;
  ObjectHook *hook;
  int32_t commonWord;
};
static_assert(sizeof(ObjectHookTemplate) == 24);
static_assert(offsetof(ObjectHookTemplate, hook) == 16);

struct ObjectConstantTemplate {
  int32_t flags;
  const char *name;
  int32_t valueKind; // 1 number, 0 text
  const char *value;
};
static_assert(sizeof(ObjectConstantTemplate) == 16);

// New item lists made from rows, linked in row order; a count of 0 or less
// gives nil.
InstanceVariable *FillInstances(ObjectInstanceTemplate *rows, int count);
ObjectMethod *FillMethods(PropertyMethod *rows, int count);
// Replaces the definition's events with a list made from the rows.
void FillHooks(ObjectDefinition *defn, ObjectHookTemplate *rows, int count);
// Class constants are not registered with the runtime.
void FillConstants(ObjectDefinition *defn, ObjectConstantTemplate *rows, int count);
