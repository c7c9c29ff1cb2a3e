// The registrar start-up calls for the database area (CreateDatabaseClasses):
// the core's classes, then the SQL layer's entry points. It lives above both,
// so that the core never reaches up into the SQL layer, and fills its hook
// while the program's static objects are made, before main.
#include "database/DatabaseClasses.h"
#include "database/sql/SqlEntryPoints.h"
#include "runtime/startup/BuiltinClassBuilders.h"

void CreateDatabaseClasses() {
  RegisterDatabaseCoreClasses();
  RegisterSqlEntryPoints();
}

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooksToFill().CreateDatabaseClasses = CreateDatabaseClasses;
  return true;
}();

} // namespace
