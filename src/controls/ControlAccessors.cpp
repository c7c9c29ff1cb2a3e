// The plain property accessors of Control and RectControl: flags, help texts,
// the cursor, the window and the pointer position. Setters store into the
// object first and push to the pane only when it exists.
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "foundation/String.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/MouseCursor.h"
#include "windows/SubPane.h"

namespace {

RuntimeControl *Fields(RuntimeObject *object) { return reinterpret_cast<RuntimeControl *>(object); }

int32_t Flag(uint8_t byte) { return byte ? 1 : 0; }

// Stores a help text and hands the pane a copy of it.
void SetHelpText(RuntimeObject *object, int32_t offset, stringStorage *value,
                 void (SubPane::*push)(const string &)) {
  if (!object)
    return;
  stringSetter(object, offset, value);
  if (SubPane *pane = Fields(object)->pane)
    (pane->*push)(string::Borrow(value));
}

QV::Point Mouse(RuntimeObject *object) {
  QV::Point p{0, 0};
  if (SubPane *pane = object ? Fields(object)->pane : nullptr)
    pane->GetMouse(&p);
  return p;
}

} // namespace

extern "C" {

int32_t controlVisibleGetter(RuntimeObject *o, int32_t) { return o ? Flag(Fields(o)->visible) : 0; }
int32_t controlEnabledGetter(RuntimeObject *o, int32_t) { return o ? Flag(Fields(o)->enabled) : 0; }
int32_t controlAutoDeactivateGetter(RuntimeObject *o, int32_t) {
  return o ? Flag(Fields(o)->autoDeactivate) : 0;
}

void controlAutoDeactivateSetter(RuntimeObject *o, int32_t, int32_t value) {
  if (!o)
    return;
  RuntimeControl *c = Fields(o);
  c->autoDeactivate = value ? 1 : 0;
  if (c->pane)
    c->pane->SetAutoDeactivate(c->autoDeactivate);
}

int32_t controlActiveGetter(RuntimeObject *o, int32_t) {
  SubPane *pane = o ? Fields(o)->pane : nullptr;
  return pane && pane->IsActive() ? 1 : 0;
}

// The locks only matter when the window resizes, which reads them there.
int32_t controlLockLeftGetter(RuntimeObject *o, int32_t) { return o ? Flag(Fields(o)->lockLeft) : 0; }
int32_t controlLockTopGetter(RuntimeObject *o, int32_t) { return o ? Flag(Fields(o)->lockTop) : 0; }
int32_t controlLockRightGetter(RuntimeObject *o, int32_t) {
  return o ? Flag(Fields(o)->lockRight) : 0;
}
int32_t controlLockBottomGetter(RuntimeObject *o, int32_t) {
  return o ? Flag(Fields(o)->lockBottom) : 0;
}
void controlLockLeftSetter(RuntimeObject *o, int32_t, int32_t v) {
  if (o)
    Fields(o)->lockLeft = v ? 1 : 0;
}
void controlLockTopSetter(RuntimeObject *o, int32_t, int32_t v) {
  if (o)
    Fields(o)->lockTop = v ? 1 : 0;
}
void controlLockRightSetter(RuntimeObject *o, int32_t, int32_t v) {
  if (o)
    Fields(o)->lockRight = v ? 1 : 0;
}
void controlLockBottomSetter(RuntimeObject *o, int32_t, int32_t v) {
  if (o)
    Fields(o)->lockBottom = v ? 1 : 0;
}

int32_t controlMouseXGetter(RuntimeObject *o, int32_t) { return Mouse(o).h; }
int32_t controlMouseYGetter(RuntimeObject *o, int32_t) { return Mouse(o).v; }

RuntimeObject *controlWindowGetter(RuntimeObject *o, int32_t) {
  RuntimeObject *window = o ? Fields(o)->view : nullptr;
  RuntimeLockObject(window);
  return window;
}

int32_t controlMacControlHandleGetter(RuntimeObject *, int32_t) { return 0; }

void controlHelpTagSetter(RuntimeObject *o, int32_t param, stringStorage *value) {
  SetHelpText(o, param, value, &SubPane::SetHelpTag);
}
void controlBalloonHelpSetter(RuntimeObject *o, int32_t param, stringStorage *value) {
  SetHelpText(o, param, value, &SubPane::setBalloonHelp);
}
void controlDisabledBalloonHelpSetter(RuntimeObject *o, int32_t param, stringStorage *value) {
  SetHelpText(o, param, value, &SubPane::setDisabledBalloonHelp);
}

void controlMouseCursorSetter(RuntimeObject *o, int32_t, RuntimeObject *cursor) {
  if (!o)
    return;
  RuntimeControl *c = Fields(o);
  RuntimeLockUnlockObjects(cursor, c->mouseCursor);
  c->mouseCursor = cursor;
  if (c->pane)
    c->pane->setMouseCursor(cursor ? reinterpret_cast<MouseCursorObject *>(cursor)->record
                                   : nullptr);
}

int32_t ctlPosGetter(RuntimeObject *o, int32_t which) {
  if (!o)
    return 0;
  const QV::Rect &b = Fields(o)->bounds;
  switch (which) {
  case 0:
    return b.left;
  case 1:
    return b.top;
  case 2:
    return b.right - b.left;
  case 3:
    return b.bottom - b.top;
  default:
    return 0;
  }
}

} // extern "C"
