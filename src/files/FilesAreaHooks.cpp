// What start-up calls in the files area: the FolderItem class's builder.
// Filled while the program's static objects are made, before main.
#include "files/FolderItemClass.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooksToFill().FolderItemClass = FolderItemClass;
  return true;
}();

} // namespace
