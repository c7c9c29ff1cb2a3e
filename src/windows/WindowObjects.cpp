// What compiled code registers in a window object: the objects declared in
// the window (controls, pane children, menu-bar installers), the control map
// they are entered in by name and control-array index, and the window's menu
// handlers.
#include "foundation/AssertionAlert.h"
#include "foundation/NumberText.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"
#include "windows/menus/MenuItemClasses.h"

namespace {

constexpr char kSource[] = "../Common/ClassLib/RuntimeWindow";
constexpr int32_t kNotInControlArray = INT32_MIN;

using SetObjectMethod = void (*)(RuntimeObject *self, RuntimeObject *value);
using GetIndexMethod = int32_t (*)(RuntimeObject *self);
using SetIndexMethod = void (*)(RuntimeObject *self, int32_t index);

// The object's table for the interface when it implements it, else nil.
MethodEntry *InterfaceTable(RuntimeObject *object, ObjectDefinition *(*builder)()) {
  RuntimeClass *iface = builder ? LookupObjectDefinition(builder()) : nullptr;
  if (!object || !iface || !RuntimeObjectIsa(object, iface))
    return nullptr;
  return RuntimeLookupInterfaceVtable(object, iface);
}

// The code in a slot of an interface table; nil after the alert when the
// implementer left the method out.
void *Slot(MethodEntry *table, int32_t slot, int32_t line, const char *condition) {
  void *code = table ? table[slot].code : nullptr;
  if (!code)
    ShowAlert(AlertSite{kSource, line, condition});
  return code;
}

void SetPaneChildIndex(RuntimeObject *object, MethodEntry *table, int32_t index, int32_t line,
                       const char *condition) {
  if (void *code = Slot(table, kPaneChildSetIndex, line, condition))
    reinterpret_cast<SetIndexMethod>(code)(object, index);
}

string KeyOf(const string &name, int32_t index) {
  return index < 0 ? name : name + string("$") + ultoa(index);
}

// The first free member index of the control array of that name.
int32_t FreeArrayIndex(StringMap<RuntimeObject *> *map, const string &name) {
  int32_t n = 0;
  while (map->HasEntry(KeyOf(name, n)))
    ++n;
  return n;
}

// A pane made inside the pane of a registered object of the same class (its
// CreatePane found that object's pane first) moves out to that pane's
// parent.
void MoveOutOfSibling(RuntimeView *window, RuntimeObject *control, SubPane *pane) {
  SubPane *parent = pane->GetParent();
  if (!parent)
    return;
  StringMapIterator<RuntimeObject *> *it = window->controlMap->NewIterator();
  RuntimeObject *other = nullptr;
  bool inside = false;
  while (!inside && it->Next(&other))
    inside = other != control && other && other->classPtr == control->classPtr &&
             IsControl(other) && *FieldsOfControl(other).pane == parent;
  delete it;
  SubPane *outer = parent->GetParent();
  if (!inside || !outer)
    return;
  parent->RemoveChild(pane);
  outer->AddChild(pane);
}

// A control registered in an open window: its pane, its Open, then a redraw.
void OpenAtRunTime(RuntimeView *window, RuntimeObject *control) {
  CreateNewControlPane(control);
  ControlFields f = FieldsOfControl(control);
  if (SubPane *pane = *f.pane) {
    MoveOutOfSibling(window, control, pane);
    if (SubPane *parent = pane->GetParent())
      parent->SetTabPanelVisible(parent->IsTabPanelVisible());
  }
  FireControlEvent(control, ControlEvent::kOpen);
  if (SubPane *pane = *f.pane) // the handler may have closed it
    pane->InvalidatePane(true);
}

void Register(RuntimeView *window, stringStorage *nameStorage, RuntimeObject *object) {
  bool control = IsControl(object);
  MethodEntry *paneChild = control ? nullptr : InterfaceTable(object, GetBuiltinClassHooks().PaneChildInterface);
  ControlFields f{};
  if (control)
    f = FieldsOfControl(object);
  const string name = string::Borrow(nameStorage);
  int32_t index = kNotInControlArray;
  if (!window->opened) {
    if (control)
      index = *f.index;
    else if (void *code = paneChild ? Slot(paneChild, kPaneChildIndex, 1712, "fp") : nullptr)
      index = reinterpret_cast<GetIndexMethod>(code)(object);
  } else {
    // Made at run time: the next member of the array of that name.
    index = FreeArrayIndex(window->controlMap, name);
    if (control)
      *f.index = index;
    else if (paneChild)
      SetPaneChildIndex(object, paneChild, index, 1724, "fp");
  }
  if (control) {
    *f.window = &window->header;
    *f.container = window->nativeWindow;
    if (string::Borrow(*f.name).IsEmpty()) {
      RuntimeUnlockString(*f.name);
      *f.name = RuntimeLockString(nameStorage);
    }
  }
  const string key = KeyOf(name, index);
  RuntimeObject *replaced = nullptr;
  window->controlMap->GetEntry(key, &replaced);
  RuntimeLockObject(object); // the map's reference
  window->controlMap->AddEntry(key, object);
  RuntimeUnlockObject(replaced); // the map held the entry it replaces
  if (control && window->opened && window->nativeWindow)
    OpenAtRunTime(window, object);
}

} // namespace

extern "C" RuntimeObject *WindowAllocateObject(RuntimeView *window, RuntimeClass *cls) {
  RuntimeObject *object = RuntimeNewObject(cls);
  if (!object)
    return nullptr;
  RuntimeObject *owner = window ? &window->header : nullptr;
  if (IsControl(object)) {
    *FieldsOfControl(object).window = owner; // not counted
  } else if (MethodEntry *paneChild = InterfaceTable(object, GetBuiltinClassHooks().PaneChildInterface)) {
    if (void *code = Slot(paneChild, kPaneChildSetWindow, 1650, "fp"))
      reinterpret_cast<SetObjectMethod>(code)(object, owner);
    SetPaneChildIndex(object, paneChild, kNotInControlArray, 1652, "fp2");
  } else if (MethodEntry *installer = InterfaceTable(object, MenubarInstallerInterface)) {
    if (void *code = Slot(installer, 0, 1656, "fp"))
      reinterpret_cast<SetObjectMethod>(code)(object, window ? window->menuBar : nullptr);
  }
  return object;
}

extern "C" void WindowAddControl(RuntimeView *window, stringStorage *name, RuntimeObject *object) {
  if (!window) {
    ShowAlert(AlertSite{kSource, 1690, "self"});
    return;
  }
  // A window that has closed takes nothing more: its map no longer counts
  // what it lists.
  bool closed = window->opened && !window->nativeWindow;
  if (object && window->controlMap && !closed) {
    RuntimeLockObject(object); // Open may drop every other reference
    RuntimeLockObject(&window->header);
    Register(window, name, object);
    RuntimeUnlockObject(&window->header);
    RuntimeUnlockObject(object);
  }
  if (RuntimeViewWindow *w = window->nativeWindow)
    w->Refresh();
}

extern "C" void WindowAddMenuHandler(RuntimeView *window, stringStorage *name, void *handler) {
  if (!window) {
    ShowAlert(AlertSite{kSource, 1780, "self"});
    return;
  }
  if (!name) {
    ShowAlert(AlertSite{kSource, 1781, "name"});
    return;
  }
  if (!handler)
    return;
  if (!window->mMenuHandlers)
    window->mMenuHandlers = new StringMap<void *>(256);
  window->mMenuHandlers->AddEntry(string::Borrow(name), handler);
}
