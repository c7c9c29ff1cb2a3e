#ifndef BUILTIN_SUBCLASS_H
#define BUILTIN_SUBCLASS_H
/* Subclasses of built-in classes (Application, Timer) made the way compiled
 * code makes them: the base looked up by name, its tables copied, and the
 * events the program handles pointed at its handlers. */
#include "CompiledCode.h"

typedef struct { void *code; stringStorage *linkName; } MethodEntry;
typedef struct { void *vector; stringStorage *name; } EventEntry;
typedef struct RuntimeClass {
    struct RuntimeClass *base;
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
    void *staticMethods;
    int32_t propertyCount;
    void *properties;
    int32_t interfaceCount;
} RuntimeClass;

RuntimeClass *RuntimeLookupClass(stringStorage *name);
RuntimeObject *RuntimeNewObject(RuntimeClass *cls);

/* A subclass of the built-in class of that name, with no handlers yet; nil
 * when the runtime has no such class. */
RuntimeClass *SubclassOf(stringStorage *baseName);
/* Points the event of that name at the handler; answers whether the class
 * declares the event. */
int32_t HandleEvent(RuntimeClass *cls, const char *eventName, void *handler);

#endif
