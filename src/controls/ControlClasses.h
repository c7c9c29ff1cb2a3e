// The language classes every control rests on: Object, Control, RectControl
// and the interface _PaneChild, with the tests and casts the controls area
// uses on control objects.
#pragma once
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"

ObjectDefinition *ObjectClass();
ObjectDefinition *ControlClass();
ObjectDefinition *RectControlClass();
ObjectDefinition *PaneChildInterface();

// The slots of _PaneChild's methods in an implementing class's table.
constexpr int32_t kPaneChildSetWindowMethodIndex = 0;
constexpr int32_t kPaneChildGetWindowMethodIndex = 1;
constexpr int32_t kPaneChildGetIndexMethodIndex = 2;
constexpr int32_t kPaneChildSetIndexMethodIndex = 3;

// The events of Control and of RectControl, in slot order.
extern ObjectHookTemplate ControlHooks[3];
extern ObjectHookTemplate ComponentHooks[4];

// Starts the record of a control class: its name, base, instance size,
// destructor (nil for none) and the "CreatePane" handler that makes the
// control's pane.
void DefineControlClass(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                        int32_t size, void (*destructor)(RuntimeObject *),
                        void (*createPane)(RuntimeObject *));

// Whether the object is an instance of the class (false for nil).
bool IsObjectOfClass(RuntimeObject *object, ObjectDefinition *defn);
// The object as a control, or nil when it is none.
RuntimeControl *AsControl(RuntimeObject *object);
inline RuntimeObject *AsObject(RuntimeControl *control) {
  return control ? &control->header : nullptr;
}
