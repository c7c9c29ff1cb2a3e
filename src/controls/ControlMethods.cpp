// The methods of RectControl and Control other than Close, and the
// constructor and CreatePane handler that do nothing.
#include "controls/ControlAlerts.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "windows/SubPane.h"

namespace {

SubPane *PaneOf(RuntimeObject *o) {
  return o ? reinterpret_cast<RuntimeControl *>(o)->pane : nullptr;
}

} // namespace

extern "C" {

void RuntimeControlRefresh(RuntimeObject *o, int32_t eraseBackground) {
  SubPane *pane = PaneOf(o);
  if (!pane || !reinterpret_cast<RuntimeControl *>(o)->visible || !pane->IsShowing())
    return;
  pane->InvalidatePane(eraseBackground != 0);
  SubPane::TriggerRefresh();
}

// x and y count from the control's top left corner; visibility is not asked.
void RuntimeControlRefreshRect(RuntimeObject *o, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t eraseBackground) {
  SubPane *pane = PaneOf(o);
  if (!pane)
    return;
  int32_t left = pane->Bounds().left + x, top = pane->Bounds().top + y;
  pane->InvalidatePaneRect(left, top, left + width, top + height, eraseBackground != 0);
  SubPane::TriggerRefresh();
}

void RuntimeSetFocus(RuntimeObject *o) {
  if (SubPane *pane = PaneOf(o))
    pane->SetFocus();
}

void controlAcceptTextDrop(RuntimeObject *o) {
  if (SubPane *pane = PaneOf(o)) {
    pane->acceptTypeDrop(string("utxt"));
    pane->acceptTypeDrop(string("TEXT"));
  }
}

void controlAcceptPictureDrop(RuntimeObject *o) {
  if (SubPane *pane = PaneOf(o))
    pane->acceptTypeDrop(string("PICT"));
}

void controlAcceptMacDataDrop(RuntimeObject *o, stringStorage *type) {
  if (SubPane *pane = PaneOf(o))
    pane->acceptTypeDrop(string::Borrow(type));
}

void controlAcceptFileDrop(RuntimeObject *o, stringStorage *type) {
  if (SubPane *pane = PaneOf(o))
    pane->acceptFileDrop(string::Borrow(type));
}

// Menu dispatch asks the focused control's map by the item's name first.
void ControlAddMenuHandler(RuntimeObject *o, stringStorage *name, void *handler) {
  if (!handler)
    return;
  if (!o) {
    ShowAlert(kMenuHandlerSelfAlert);
    return;
  }
  if (!name) {
    ShowAlert(kMenuHandlerNameAlert);
    return;
  }
  auto *c = reinterpret_cast<RuntimeControl *>(o);
  if (!c->mMenuHandlers)
    c->mMenuHandlers = new StringMap<void *>(256);
  c->mMenuHandlers->AddEntry(string::Borrow(name), handler);
}

void RectControlDefaultConstructor(RuntimeObject *) {}

void NilCreatePane(RuntimeObject *) {}

} // extern "C"
