// The well-known folders of the language's global functions, derived on this
// platform from HOME and fixed paths. Each answers a new FolderItem (one
// reference) or nil.
#pragma once
#include <cstdint>

struct RuntimeObject;

// A FolderItem for the folder HOME names (read on every call); nil without
// HOME.
RuntimeObject *GetHomeFolder();

extern "C" {
RuntimeObject *getDesktopFolder();
RuntimeObject *getTrashFolder();
RuntimeObject *GetDocumentsFolder();
RuntimeObject *getPreferencesFolder();
RuntimeObject *getApplicationSupportFolder();
RuntimeObject *getSystemFolder();
RuntimeObject *getTemporaryItemsFolder();
RuntimeObject *getVolume(int32_t index);
int32_t getVolumeCount();
RuntimeObject *getTemporaryFolderItem();
RuntimeObject *getAppleMenuFolder();
RuntimeObject *getControlPanelsFolder();
RuntimeObject *getExtensionsFolder();
RuntimeObject *getStartupItemsFolder();
RuntimeObject *getShutdownItemsFolder();
RuntimeObject *getFontsFolder();
}
