// What start-up and data binding call in the text area: the builders of
// the EditField, styled-text and StyledTextPrinter classes and the edit
// field's binding. Filled while the program's static objects are made,
// before main.
#include "controls/DataBindingServices.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "text/EditFieldClass.h"
#include "text/StyledTextObjects.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooksToFill().EditClass = EditClass;
  BuiltinClassHooksToFill().InitStyledTextClass = InitStyledTextClass;
  BuiltinClassHooksToFill().StyledTextPrinterClass = StyledTextPrinterClass;
  EditBindingHooks &binding = EditBindingHooksToFill();
  binding.bindValue = editBindValue;
  binding.boundSourceSlot = EditBoundSourceSlot;
  return true;
}();

} // namespace
