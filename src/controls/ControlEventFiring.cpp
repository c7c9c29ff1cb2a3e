#include "controls/ControlEventFiring.h"

#include <glib.h>

#include "controls/RuntimeControl.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "windows/RuntimeWindow.h"
#include "windows/SubPane.h"

namespace {

gboolean UnlockPane(gpointer pane) {
  static_cast<SubPane *>(pane)->Unlock();
  return FALSE;
}

} // namespace

void FireEvent(RuntimeObject *object, const ObjectHook *hook) {
  using Handler = void (*)(RuntimeObject *);
  if (auto handler = reinterpret_cast<Handler>(FindObjectCode(object, hook)))
    handler(object);
}

bool FireMouseEvent(RuntimeObject *object, const ObjectHook *hook, int32_t x, int32_t y) {
  using Handler = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  auto handler = reinterpret_cast<Handler>(FindObjectCode(object, hook));
  return handler && handler(object, x, y) != 0;
}

void FireFocusEvent(RuntimeObject *object, SubPane *pane, const ObjectHook *hook) {
  using Handler = void (*)(RuntimeObject *);
  auto handler = reinterpret_cast<Handler>(FindObjectCode(object, hook));
  if (!handler)
    return;
  pane->Lock();
  handler(object);
  if (pane->IsClosing())
    g_idle_add(UnlockPane, pane);
  else
    pane->Unlock();
}

bool FirePaneMouseDown(SubPane *pane, RuntimeObject *object, const ObjectHook *hook, int32_t x,
                       int32_t y) {
  using Handler = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  auto handler = object ? reinterpret_cast<Handler>(FindObjectCode(object, hook)) : nullptr;
  if (!handler)
    return false;
  RuntimeLockObject(object);
  pane->Lock();
  const bool down = handler(object, x - pane->Bounds().left, y - pane->Bounds().top) != 0;
  const bool deleted = pane->Unlock();
  RuntimeUnlockObject(object);
  if (deleted)
    return true;
  if (!down)
    return false;
  CaptureMouse(pane);
  return true;
}

void FirePaneMouseEvent(SubPane *pane, RuntimeObject *object, const ObjectHook *hook, int32_t x,
                        int32_t y) {
  using Handler = void (*)(RuntimeObject *, int32_t, int32_t);
  auto handler = object ? reinterpret_cast<Handler>(FindObjectCode(object, hook)) : nullptr;
  if (!handler)
    return;
  RuntimeLockObject(object);
  pane->Lock();
  handler(object, x - pane->Bounds().left, y - pane->Bounds().top);
  pane->Unlock();
  RuntimeUnlockObject(object);
}

bool ControlWindowStands(RuntimeControl *control) {
  auto *view = reinterpret_cast<RuntimeView *>(control->view);
  return view && view->nativeWindow && !view->nativeWindow->IsClosing();
}
