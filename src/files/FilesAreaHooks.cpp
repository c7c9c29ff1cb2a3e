// What start-up calls in the files area: the builders of the FolderItem and
// VirtualVolume classes and the registrars of the stream classes. Filled
// while the program's static objects are made, before main.
#include "files/FileStreamObjects.h"
#include "files/FolderItemClass.h"
#include "files/VirtualVolumeObject.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &hooks = BuiltinClassHooksToFill();
  hooks.FolderItemClass = FolderItemClass;
  hooks.VirtVolClass = VirtVolClass;
  hooks.CreateTextInputStreamClass = CreateTextInputStreamClass;
  hooks.CreateTextOutputStreamClass = CreateTextOutputStreamClass;
  hooks.CreateBinaryStreamClass = CreateBinaryStreamClass;
  hooks.CreateResourceForkClass = CreateResourceForkClass;
  return true;
}();

} // namespace
