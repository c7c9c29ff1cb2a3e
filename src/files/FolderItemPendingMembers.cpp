// FolderItem members whose subsystems are not built yet: text and binary
// streams, virtual volumes and resource forks. Each answers nil.
#include "files/FolderItemClass.h"

extern "C" {

RuntimeObject *FolderItemOpenTextFile(RuntimeObject *) { return nullptr; }
RuntimeObject *FolderItemAppendTextFile(RuntimeObject *) { return nullptr; }
RuntimeObject *FolderItemCreateTextFile(RuntimeObject *) { return nullptr; }
RuntimeObject *FolderItemCreateVirtualVolume(RuntimeObject *) { return nullptr; }
RuntimeObject *FolderItemOpenAsVirtualVolume(RuntimeObject *) { return nullptr; }
RuntimeObject *FolderItemOpenBinaryFile(RuntimeObject *, int32_t) { return nullptr; }
RuntimeObject *FolderItemCreateBinaryFile(RuntimeObject *, stringStorage *) { return nullptr; }
RuntimeObject *folderOpenResourceFork(RuntimeObject *) { return nullptr; }
RuntimeObject *folderCreateResourceFork(RuntimeObject *, stringStorage *) { return nullptr; }
RuntimeObject *folderVirtVolGetter(RuntimeObject *, int32_t) { return nullptr; }

} // extern "C"
