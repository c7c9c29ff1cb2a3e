// Accessors of properties kept both in the control and in a field of its
// pane (the shape controls draw from their pane's fields). The parameter
// packs the byte offsets: bits 0-9 in the control, bits 10-19 in the pane,
// bits 20-29 in the pane while controls are drawn three-dimensional.
#include "controls/ControlEntryPoints.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/SubPane.h"

namespace {

int32_t ControlOffset(int32_t param) { return param & 0x3FF; }
int32_t PaneOffset(int32_t param) {
  return RuntimeThreed() ? (param >> 20) & 0x3FF : (param >> 10) & 0x3FF;
}

// The pane seen as a record that the generic accessors can address.
RuntimeObject *PaneRecord(RuntimeObject *control) {
  SubPane *pane = reinterpret_cast<RuntimeControl *>(control)->pane;
  return reinterpret_cast<RuntimeObject *>(pane);
}

template <typename R>
R Get(RuntimeObject *control, int32_t param, R (*getter)(RuntimeObject *, int32_t)) {
  if (!control)
    return R{};
  if (RuntimeObject *pane = PaneRecord(control))
    return getter(pane, PaneOffset(param));
  return getter(control, ControlOffset(param));
}

template <typename V>
void Set(RuntimeObject *control, int32_t param, V value,
         void (*setter)(RuntimeObject *, int32_t, V)) {
  if (!control)
    return;
  if (RuntimeObject *pane = PaneRecord(control)) {
    setter(pane, PaneOffset(param), value);
    reinterpret_cast<RuntimeControl *>(control)->pane->InvalidatePane(true);
  }
  setter(control, ControlOffset(param), value);
}

} // namespace

extern "C" {

stringStorage *paneStringGetter(RuntimeObject *c, int32_t p) { return Get(c, p, stringGetter); }
void paneStringSetter(RuntimeObject *c, int32_t p, stringStorage *v) { Set(c, p, v, stringSetter); }
int32_t paneBoolGetter(RuntimeObject *c, int32_t p) { return Get(c, p, boolGetter); }
void paneBoolSetter(RuntimeObject *c, int32_t p, int32_t v) { Set(c, p, v, boolSetter); }
int32_t paneIntGetter(RuntimeObject *c, int32_t p) { return Get(c, p, intGetter); }
void paneIntSetter(RuntimeObject *c, int32_t p, int32_t v) { Set(c, p, v, intSetter); }
int32_t paneShortGetter(RuntimeObject *c, int32_t p) { return Get(c, p, shortGetter); }
void paneShortSetter(RuntimeObject *c, int32_t p, int32_t v) { Set(c, p, v, shortSetter); }
RuntimeObject *paneObjGetter(RuntimeObject *c, int32_t p) { return Get(c, p, objGetter); }
void paneObjSetter(RuntimeObject *c, int32_t p, RuntimeObject *v) { Set(c, p, v, objSetter); }

} // extern "C"
