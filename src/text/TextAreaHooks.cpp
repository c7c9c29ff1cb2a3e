// What start-up and data binding call in the text area: the EditField
// class's builder and the edit field's binding. Filled while the program's
// static objects are made, before main.
#include "controls/DataBindingServices.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "text/EditFieldClass.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooksToFill().EditClass = EditClass;
  EditBindingHooks &binding = EditBindingHooksToFill();
  binding.bindValue = editBindValue;
  binding.boundSourceSlot = EditBoundSourceSlot;
  return true;
}();

} // namespace
