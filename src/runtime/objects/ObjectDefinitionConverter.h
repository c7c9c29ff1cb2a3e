// Turning class definitions into run-time classes, and finding the handler an
// object has for a declared event.
#pragma once
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// The run-time class of a definition, converted on first use and cached for
// the life of the process (nil is cached too).
extern "C" RuntimeClass *LookupObjectDefinition(ObjectDefinition *defn);

// Renumbers interface methods and rebuilds every definition's interface code
// tables at the next conversion.
bool RebuildAllVTables();

// The handler the object has for the event the hook declares, or nil.
void *FindObjectCode(RuntimeObject *object, const ObjectHook *hook);

// The event-handler item of a built-in class in the object's class chain that
// handles the hook's event, most derived class first; nil when none or for a
// nil object. A nil hook shows the alert.
extern "C" ObjectHookInstance *FindObjectCodeInstance(RuntimeObject *object,
                                                      const ObjectHook *hook);
