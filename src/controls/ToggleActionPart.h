// The action parts that check boxes and radio buttons hand out through
// getBoundPart: an actionSource standing for the owner's checked or
// unchecked receivers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ClassTables.h"
#include "runtime/objects/RuntimeObject.h"

struct ObjectDefinition;
struct stringStorage;

struct ToggleActionObject {
  RuntimeObject header;
  RuntimeObject *owner; // counted
  int32_t checked;      // 1: the checked receivers, 0: the unchecked ones
};
static_assert(sizeof(ToggleActionObject) == 32);
static_assert(offsetof(ToggleActionObject, owner) == 24);
static_assert(offsetof(ToggleActionObject, checked) == 28);

// Builds the part class once: no superclass, the add and remove rows
// (whose receiver type it fills), actionSource.
ObjectDefinition *BuildToggleActionClass(ObjectDefinition &defn, const char *name,
                                         PropertyMethod (&methods)[2], ObjectProc destructor);
// A new part of the class for the owner's checked (or unchecked) list,
// with one reference for the caller; nil for any name but
// "getCheckedAction" and "getUncheckedAction" (case ignored).
RuntimeObject *NewToggleActionPart(ObjectDefinition *cls, RuntimeObject *owner,
                                   stringStorage *name);
// The part's destructor: lets its owner go.
void ReleaseToggleActionOwner(RuntimeObject *part);
