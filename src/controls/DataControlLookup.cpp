#include "controls/DataControlLookup.h"

#include <memory>

#include "controls/DataBindingServices.h"
#include "controls/RuntimeControl.h"
#include "foundation/StringMap.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "windows/ControlServices.h"

namespace {

bool IsDataControl(RuntimeObject *object) {
  if (!gDataControlClass || !object)
    return false;
  RuntimeClass *cls = LookupObjectDefinition(gDataControlClass());
  return cls && RuntimeObjectIsa(object, cls);
}

} // namespace

ObjectDefinition *(*gDataControlClass)() = nullptr;

RuntimeObject *FindBindableDataControl(RuntimeObject *window, const string &name) {
  auto *view = reinterpret_cast<RuntimeView *>(window);
  if (!view || !view->controlMap)
    return nullptr;
  std::unique_ptr<StringMapIterator<RuntimeObject *>> it(view->controlMap->NewIterator());
  RuntimeObject *control = nullptr;
  while (it->Next(&control)) {
    if (!control || !IsControl(control))
      continue;
    if (string::Borrow(reinterpret_cast<RuntimeControl *>(control)->name).Compare(name) == 0)
      return IsDataControl(control) ? control : nullptr;
  }
  return nullptr;
}
