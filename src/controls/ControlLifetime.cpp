// The end of a control: Close, which closes its pane and the controls inside
// it and takes it out of its window, and the release of its data when the
// last reference goes.
#include "controls/ControlAlerts.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "controls/ControlMap.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/SubPane.h"

namespace {

void FireClose(RuntimeControl *c) {
  if (void *code = FindObjectCode(&c->header, ControlHooks[2].hook))
    reinterpret_cast<void (*)(RuntimeObject *)>(code)(&c->header);
}

// Fires Close, then closes the controls inside this one, then the pane. The
// Close events of a container run before those of what it contains, and
// the panes go only after all of them ran.
void ClosePane(RuntimeControl *c) {
  SubPane *pane = c->pane;
  if (GetFocusPane() == pane)
    SetFocusPane(nullptr);
  {
    SubPaneWatcher watch(pane);
    FireClose(c);
    // The handler may have closed this control, or the whole window.
    if (watch.pane() != pane) {
      if (c->pane == pane)
        c->pane = nullptr;
      return;
    }
    if (c->pane != pane)
      return;
  }
  c->pane = nullptr;
  RuntimeView *view = WindowOf(c);
  if (!view) {
    ShowAlert(kCloseWindowAlert);
  } else {
    SubPaneWatcher watch(pane);
    ControlWalk walk(view);
    for (RuntimeObject *object : walk) {
      if (watch.pane() != pane)
        return;
      RuntimeControl *other = AsControl(object);
      if (other && other->pane && pane->Contains(other->pane, true))
        ControlClose(object);
    }
    if (watch.pane() != pane)
      return;
  }
  pane->ShowPane(false);
  pane->Close();
}

// Takes the control out of its window's map, closing up a control array
// behind it. True when the map held it.
bool RemoveFromControlMap(RuntimeControl *c) {
  StringMap<RuntimeObject *> *map = ControlMapOf(c);
  if (!map)
    return false;
  string name = string::Borrow(c->name);
  string key = ControlMapKey(name, c->index);
  RuntimeObject *entry = nullptr;
  if (!map->GetEntry(key, &entry) || entry != &c->header)
    return false;
  map->DeleteEntry(key);
  if (c->index == kNotInControlArray)
    return true;
  for (int32_t h = c->index + 1;; ++h) {
    string later = ControlMapKey(name, h);
    RuntimeObject *member = nullptr;
    if (!map->GetEntry(later, &member))
      break;
    map->DeleteEntry(later);
    if (RuntimeControl *m = AsControl(member))
      m->index = h - 1;
    map->AddEntry(ControlMapKey(name, h - 1), member);
  }
  return true;
}

} // namespace

extern "C" void ControlClose(RuntimeObject *o) {
  RuntimeControl *c = AsControl(o);
  if (!c)
    return;
  RuntimeLockObject(o); // the handlers may drop every other reference
  RuntimeView *view = WindowOf(c);
  if (WindowHasClosed(view))
    c->pane = nullptr; // went with the window's pane tree
  if (c->pane)
    ClosePane(c);
  // A second Close, or one after the window closed, finds no reference of
  // the map's to give back.
  bool held = !WindowHasClosed(WindowOf(c));
  if (RemoveFromControlMap(c) && held)
    RuntimeUnlockObject(o);
  RuntimeUnlockObject(o);
}

void RuntimeControl::ReleaseData() {
  if (StringMap<RuntimeObject *> *map = ControlMapOf(this)) {
    StringMapIterator<RuntimeObject *> *it = map->NewIterator();
    RuntimeObject *object = nullptr;
    while (it->Next(&object))
      if (object == &header)
        it->Delete();
    delete it;
  }
  RuntimeUnlockString(name);
  RuntimeUnlockString(balloonHelp);
  RuntimeUnlockString(disabledBalloonHelp);
  RuntimeUnlockString(helpTag);
  balloonHelp = disabledBalloonHelp = helpTag = nullptr;
  RuntimeObject *cursor = mouseCursor;
  mouseCursor = nullptr;
  RuntimeUnlockObject(cursor);
  delete mMenuHandlers;
  mMenuHandlers = nullptr;
  pane = nullptr;
  name = nullptr;
  container = nullptr;
  view = nullptr;
}
