// Fills start-up's hook for the database area's registrar while the
// program's static objects are made, before main.
#include "database/DatabaseClasses.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooksToFill().CreateDatabaseClasses = CreateDatabaseClasses;
  return true;
}();

} // namespace
