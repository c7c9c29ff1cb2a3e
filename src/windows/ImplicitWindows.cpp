// The implicit instance of each window class: the one window of the class
// that compiled code reaches by the class's name. A class asked for while it
// has none gets a placeholder, which the next instance made of it fills; the
// instance leaves the list when its window closes.
#include "foundation/StringMap.h"
#include "runtime/objects/RuntimeClass.h"
#include "windows/MenuServices.h"
#include "windows/WindowClass.h"

namespace {

// Class name to its implicit instance (held), or nil while one is made.
StringMap<RuntimeView *> *sImplicitWindows = nullptr;

string ClassNameOf(RuntimeView *window) {
  RuntimeClass *cls = window->header.classPtr;
  return cls ? string::Borrow(cls->name) : string();
}

} // namespace

extern "C" RuntimeObject *RuntimeGetImplicitWindow(stringStorage *className) {
  if (!sImplicitWindows)
    sImplicitWindows = new StringMap<RuntimeView *>(256);
  string name = string::Borrow(className);
  RuntimeView *window = nullptr;
  if (!sImplicitWindows->GetEntry(name, &window)) {
    sImplicitWindows->AddEntry(name, nullptr);
    return nullptr;
  }
  if (!window)
    return nullptr;
  RuntimeLockObject(&window->header);
  return &window->header;
}

void FillImplicitWindowPlaceholder(RuntimeView *window) {
  RuntimeView *entry = nullptr;
  string name = ClassNameOf(window);
  if (!sImplicitWindows || !sImplicitWindows->GetEntry(name, &entry) || entry)
    return;
  RuntimeLockObject(&window->header);
  sImplicitWindows->AddEntry(name, window);
}

void RemoveFromImplicitWindowList(RuntimeObject *object) {
  auto *window = reinterpret_cast<RuntimeView *>(object);
  RuntimeView *entry = nullptr;
  if (!window || !sImplicitWindows)
    return;
  string name = ClassNameOf(window);
  if (!sImplicitWindows->GetEntry(name, &entry) || entry != window)
    return;
  sImplicitWindows->DeleteEntry(name);
  RuntimeUnlockObject(object);
}
