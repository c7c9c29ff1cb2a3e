#include "controls/DataControlLookup.h"

#include <memory>

#include "controls/RuntimeControl.h"
#include "foundation/StringMap.h"
#include "runtime/loop/WindowInterface.h"
#include "windows/ControlServices.h"

namespace {

// The database's DataControl class is not built yet (src/PENDING.md), so
// no object is a data control.
bool IsDataControl(RuntimeObject *) { return false; }

} // namespace

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
