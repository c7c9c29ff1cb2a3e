// What the layers below reach of the FolderItem class through the
// declarations of the application class.
#include "files/FolderItemClass.h"
#include "runtime/application/ApplicationClass.h"

stringStorage *FolderItemAbsolutePath(RuntimeObject *item) {
  return item ? fileAbsolutePathGetter(item, 0) : nullptr;
}
