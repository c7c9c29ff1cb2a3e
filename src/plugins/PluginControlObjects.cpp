// The object side of plug-in controls: their base class, the initializer and
// finalizer the object model runs, and the property setters that redraw.
#include "controls/ControlClasses.h"
#include "controls/RuntimeControl.h"
#include "plugins/PluginClasses.h"
#include "runtime/objects/ValueAccessors.h"
#include "windows/SubPane.h"

static_assert(kPluginControlDefinitionWord == kControlInstanceSize);

namespace {

LoadedControl *&DefinitionWord(RuntimeObject *object) {
  return *reinterpret_cast<LoadedControl **>(reinterpret_cast<char *>(object) +
                                             kPluginControlDefinitionWord);
}

void InvalidateWholePane(RuntimeObject *object) {
  if (SubPane *pane = reinterpret_cast<RuntimeControl *>(object)->pane)
    pane->InvalidatePane(true);
}

} // namespace

ObjectDefinition *PluginControlSuperclass(uint32_t flags) {
  return (flags & kControlDerivesFromControl) ? ControlClass() : RectControlClass();
}

LoadedControl *FindLoadedControl(RuntimeObject *control) {
  for (RuntimeClass *cls = control ? control->classPtr : nullptr; cls; cls = cls->base) {
    LoadedControl *loaded = nullptr;
    if (gLoadedControlMap.GetEntry(string::Borrow(cls->name), &loaded))
      return loaded;
  }
  return nullptr;
}

void PluginControlInitializer(RuntimeObject *control) {
  reinterpret_cast<RuntimeControl *>(control)->enabled = 1;
  LoadedControl *loaded = FindLoadedControl(control);
  if (!loaded) {
    ShowAlert(kControlDefinitionAlert);
    return;
  }
  DefinitionWord(control) = loaded;
  if (loaded->behaviour && loaded->behaviour->constructor)
    loaded->behaviour->constructor(control);
}

void PluginControlFinalizer(RuntimeObject *control) {
  LoadedControl *loaded = FindLoadedControl(control);
  SubPane *pane = reinterpret_cast<RuntimeControl *>(control)->pane;
  if (pane && !pane->CloseRan())
    pane->Close();
  if (loaded && loaded->behaviour && loaded->behaviour->destructor)
    loaded->behaviour->destructor(control);
}

extern "C" {

void intInvalidateSetter(RuntimeObject *object, int32_t offset, int32_t value) {
  intSetter(object, offset, value);
  InvalidateWholePane(object);
}

void boolInvalidateSetter(RuntimeObject *object, int32_t offset, int32_t value) {
  boolSetter(object, offset, value);
  InvalidateWholePane(object);
}

void stringInvalidateSetter(RuntimeObject *object, int32_t offset, stringStorage *value) {
  stringSetter(object, offset, value);
  InvalidateWholePane(object);
}

void objInvalidateSetter(RuntimeObject *object, int32_t offset, RuntimeObject *value) {
  objSetter(object, offset, value);
  InvalidateWholePane(object);
}

} // extern "C"
