/*
 * The run-time class record and its entries as compiled code sees them: the
 * records an image fills when it defines its classes through the object
 * model (RuntimeNewClass, RuntimeNewVtable).
 */
#ifndef RUNTIME_CLASSES_H_KIT
#define RUNTIME_CLASSES_H_KIT

#include "CompiledCode.h"

typedef struct {
  void *code;
  stringStorage *linkName;
} MethodEntry;
typedef struct {
  void *vector;
  stringStorage *name;
} EventEntry;
typedef struct {
  stringStorage *name;
  int32_t param;
  void *getter;
  void *setter;
} PropertyEntry;
typedef struct RuntimeClass RuntimeClass;
typedef struct {
  RuntimeClass *interfaceClass;
  int32_t methodCount;
  MethodEntry *vtable;
} InterfaceEntry;
struct RuntimeClass {
  RuntimeClass *base;
  stringStorage *name;
  void *reserved;
  int32_t instanceSize;
  int32_t isAnInterface;
  void (*constructor)(RuntimeObject *);
  void (*destructorHook)(RuntimeObject *);
  void (*destructor)(RuntimeObject *);
  int32_t methodCount;
  MethodEntry *methods;
  int32_t eventCount;
  EventEntry *events;
  int32_t staticMethodCount;
  MethodEntry *staticMethods;
  int32_t propertyCount;
  PropertyEntry *properties;
  int32_t interfaceCount;
  InterfaceEntry interfaces[];
};
_Static_assert(sizeof(RuntimeClass) == 68, "class head");
_Static_assert(__builtin_offsetof(RuntimeClass, destructor) == 28, "class layout");
_Static_assert(__builtin_offsetof(RuntimeClass, interfaceCount) == 64, "class layout");

RuntimeClass *RuntimeNewClass(RuntimeClass *base, int32_t methods, int32_t interfaces,
                              int32_t events, int32_t staticMethods, int32_t properties);
MethodEntry *RuntimeNewVtable(int32_t count);
RuntimeClass *RuntimeLookupClass(stringStorage *name);
RuntimeObject *RuntimeNewObject(RuntimeClass *cls);

#endif
