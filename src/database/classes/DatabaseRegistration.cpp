// Fills start-up's hook for the database area's registrar while the
// program's static objects are made, before main.
#include "database/DatabaseClasses.h"
#include "database/classes/DataControlClass.h"
#include "database/classes/DatabaseQueryClass.h"
#include "controls/DataBindingServices.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &hooks = BuiltinClassHooksToFill();
  hooks.CreateDatabaseClasses = CreateDatabaseClasses;
  hooks.DatabaseQueryClass = DatabaseQueryClass;
  hooks.DataControlActionClass = DataControlActionClass;
  hooks.DataControlClass = DataControlClass;
  gDataControlClass = DataControlClass;
  return true;
}();

} // namespace
