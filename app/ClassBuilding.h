/*
 * Building the image's classes: a run-time class below a built-in or image
 * class, its method, event and property entries, and the lookups by name
 * that the image's code makes in a class's tables.
 */
#ifndef CLASS_BUILDING_H
#define CLASS_BUILDING_H

#include "RuntimeClasses.h"

/* The entries a class adds to its base's tables, and the counts its tables
 * get: each the given count, or the base's count plus what the class adds
 * when that is larger (a base grown since leaves no entry without room). */
typedef struct {
  int32_t methods, interfaces, events, staticMethods, properties;
} ClassCounts;

/* A new class below base (nil for none) with its name (one reference added),
 * instance size and field destructor (nil when it holds no references). */
RuntimeClass *NewImageClass(RuntimeClass *base, ClassCounts counts, ClassCounts own,
                            stringStorage *name, int32_t instanceSize,
                            void (*destructor)(RuntimeObject *));

/* Index of the class's first own entry in each table: after the base's. */
int32_t FirstOwnMethod(RuntimeClass *cls);
int32_t FirstOwnEvent(RuntimeClass *cls);
int32_t FirstOwnProperty(RuntimeClass *cls);

/* Writes a method entry; the link name gets one reference. */
void SetMethod(RuntimeClass *cls, int32_t index, void *code, stringStorage *linkName);
/* Names a new event entry. */
void NameEvent(RuntimeClass *cls, int32_t index, stringStorage *name);
/* Points the inherited event of that name (among the base's entries) at the
 * handler; answers whether the base declares it. */
int32_t HandleInheritedEvent(RuntimeClass *cls, const char *name, void *handler);
/* Publishes an own field: plain field access through the generic accessors. */
void SetFieldProperty(RuntimeClass *cls, int32_t index, stringStorage *linkName, int32_t offset);

/* The property entry whose link name starts with name and "%" (letter case
 * ignored), searched from the class's own entries to its root's; nil when
 * the class has none of that name. */
PropertyEntry *FindProperty(RuntimeClass *cls, const char *name);
/* The type letter of a property entry: what follows the first "%". */
char PropertyTypeLetter(const PropertyEntry *entry);

#endif
