// What start-up calls in the list-box area: the builders of its classes.
// Filled while the program's static objects are made, before main.
#include "listbox/ListboxClasses.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.ListSelectionProviderClass = ListSelectionProviderClass;
  classes.ListColumnClass = ListColumnClass;
  classes.ListboxClass = ListboxClass;
  classes.ListboxActionClass = ListboxActionClass;
  classes.ListColumnValueProviderClass = ListColumnValueProviderClass;
  return true;
}();

} // namespace
