#include "controls/ControlMap.h"

#include "controls/ControlClasses.h"
#include "foundation/NumberText.h"
#include "windows/SubPane.h"

StringMap<RuntimeObject *> *ControlMapOf(RuntimeControl *c) {
  RuntimeView *view = WindowOf(c);
  return view ? view->controlMap : nullptr;
}

bool WindowHasClosed(RuntimeView *view) { return view && view->opened && !view->nativeWindow; }

string ControlMapKey(const string &name, int32_t index) {
  if (index == kNotInControlArray)
    return name;
  return name + string("$") + ultoa(index);
}

bool PaneContains(SubPane *outer, SubPane *inner) { return outer->Contains(inner, true); }

RuntimeControl *ControlInMap(RuntimeObject *object) { return AsControl(object); }
