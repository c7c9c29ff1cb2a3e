// The language's FolderItem class: a thin object around one folder-item
// implementation, to which every property and method forwards; the global
// functions that make FolderItems from paths, and the entry points the image,
// plug-ins and the database use.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/FolderItemImp.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct FolderItemObject {
  RuntimeObject header;
  FolderItemImp *mImp; // owned; nil only while the object is being built
};
static_assert(sizeof(FolderItemObject) == 28);
static_assert(offsetof(FolderItemObject, mImp) == 24);

inline constexpr char kFolderItemClassAlertSource[] = "../Common/runFolderItem";
inline constexpr AlertSite kEntryImpAlert{kFolderItemClassAlertSource, 101, "entry->mImp"};
inline constexpr AlertSite kDestinationImpAlert{kFolderItemClassAlertSource, 742,
                                                "destination->mImp"};

inline constexpr char kInvalidFolderItemPathMessage[] =
    "The path passed into new FolderItem was invalid";

ObjectDefinition *FolderItemClass();

// The implementation of a FolderItem object; nil for nil or another class.
FolderItemImp *FolderItemImpOf(RuntimeObject *object);
// A new FolderItem (one reference) that owns imp; nil (imp deleted) when no
// object can be made.
RuntimeObject *NewFolderItemWithImp(FolderItemImp *imp);
// The same, of the class of like (a subclass stays a subclass).
RuntimeObject *NewFolderItemLike(RuntimeObject *like, FolderItemImp *imp);

// Gives the object a new POSIX item for the path; false when the path is
// unusable (the object keeps the new item). With resolve, a symbolic link is
// followed one level.
bool SetFolderItemPath(RuntimeObject *object, const string &path, bool resolve);
// An empty text is valid; any other is invalid when its UTF-8 form holds a
// zero byte.
bool IsValidPathText(const string &path);
// A new FolderItem for the path, or nil for saved item information, an
// invalid text or an unusable path.
RuntimeObject *FolderItemForPath(const string &path, bool resolve);

extern "C" {
stringStorage *fileAbsolutePathGetter(RuntimeObject *object, int32_t param);
int32_t fileCountGetter(RuntimeObject *object, int32_t param);
stringStorage *fileNameGetter(RuntimeObject *object, int32_t param);
void fileNameSetter(RuntimeObject *object, int32_t param, stringStorage *name);
stringStorage *FileDisplayNameGetter(RuntimeObject *object, int32_t param);
int32_t fileSizeGetter(RuntimeObject *object, int32_t param);
int32_t fileRFSizeGetter(RuntimeObject *object, int32_t param);
int32_t FileExtensionVisibleGetter(RuntimeObject *object, int32_t param);
void FileExtensionVisibleSetter(RuntimeObject *object, int32_t param, int32_t visible);
int32_t fileLockedGetter(RuntimeObject *object, int32_t param);
void fileLockedSetter(RuntimeObject *object, int32_t param, int32_t locked);
int32_t fileExistsGetter(RuntimeObject *object, int32_t param);
int32_t fileAliasGetter(RuntimeObject *object, int32_t param);
int32_t fileVisibleGetter(RuntimeObject *object, int32_t param);
void fileVisibleSetter(RuntimeObject *object, int32_t param, int32_t visible);
int32_t fileDirectoryGetter(RuntimeObject *object, int32_t param);
stringStorage *fileTypeGetter(RuntimeObject *object, int32_t param);
RuntimeObject *folderParentGetter(RuntimeObject *object, int32_t param);
RuntimeObject *folderGetCreation(RuntimeObject *object, int32_t param);
void folderSetCreation(RuntimeObject *object, int32_t param, RuntimeObject *date);
RuntimeObject *folderGetModified(RuntimeObject *object, int32_t param);
void folderSetModified(RuntimeObject *object, int32_t param, RuntimeObject *date);
stringStorage *fileMacTypeGetter(RuntimeObject *object, int32_t param);
void fileMacTypeSetter(RuntimeObject *object, int32_t param, stringStorage *code);
stringStorage *fileMacCreatorGetter(RuntimeObject *object, int32_t param);
void fileMacCreatorSetter(RuntimeObject *object, int32_t param, stringStorage *code);
RuntimeObject *folderFindFolder(RuntimeObject *object, int32_t selector);
int32_t FolderItemIsCurrentlyReadable(RuntimeObject *object, int32_t param);
int32_t FolderItemIsCurrentlyWriteable(RuntimeObject *object, int32_t param);
int32_t FolderItemGetLastError(RuntimeObject *object, int32_t param);
void FolderItemSetLastError(RuntimeObject *object, int32_t param, int32_t code);
int32_t fileVRefNumGetter(RuntimeObject *object, int32_t param);
int32_t fileDirIDGetter(RuntimeObject *object, int32_t param);

void FolderItemPathCtorNoParams(RuntimeObject *object);
void FolderItemPathCtor(RuntimeObject *object, stringStorage *path);
void FolderItemCopyCtor(RuntimeObject *object, RuntimeObject *source);
RuntimeObject *FolderItemItem(RuntimeObject *object, int32_t index);
RuntimeObject *FolderItemTrueItem(RuntimeObject *object, int32_t index);
RuntimeObject *FolderChild(RuntimeObject *object, stringStorage *name);
RuntimeObject *FolderTrueChild(RuntimeObject *object, stringStorage *name);
RuntimeObject *FolderItemOpenImage(RuntimeObject *object);
RuntimeObject *FolderItemOpenVectorImage(RuntimeObject *object);
RuntimeObject *FolderItemOpenSound(RuntimeObject *object);
RuntimeObject *FolderItemOpenMovie(RuntimeObject *object);
RuntimeObject *FolderItemOpenResourceMovie(RuntimeObject *object, int32_t index);
void FolderItemOpenStyledEditField(RuntimeObject *object, RuntimeObject *field);
void FolderItemSaveStyledEditField(RuntimeObject *object, RuntimeObject *field);
void FolderItemDelete(RuntimeObject *object);
void FolderItemCreateAsFolder(RuntimeObject *object);
void FolderItemLaunch(RuntimeObject *object, int32_t activate);
void FolderItemCopyFileTo(RuntimeObject *object, RuntimeObject *destination);
void FolderItemMoveFileTo(RuntimeObject *object, RuntimeObject *destination);
void FolderItemSaveAsPicture(RuntimeObject *object, RuntimeObject *image, int32_t format);
void FolderItemSaveAsJPEG(RuntimeObject *object, RuntimeObject *image);
stringStorage *FolderItemGetSaveInfo(RuntimeObject *object, RuntimeObject *relativeTo,
                                     int32_t mode);
RuntimeObject *FolderItemGetRelative(RuntimeObject *object, stringStorage *saveInfo);
void FolderItemImpMakeFileExecutable(RuntimeObject *object);

RuntimeObject *RuntimeGetFolderItem(stringStorage *path);
RuntimeObject *RuntimeGetTrueFolderItem(stringStorage *path);
FolderItemImp *FolderItemGetImp(RuntimeObject *object);
RuntimeObject *FolderItemFromPath(const char *path);
stringStorage *ZANTpathFromFolderItem(RuntimeObject *object);
// Copies the absolute path with its zero byte into buffer, which must have
// room for a path of the system's longest (4,096 bytes); false, nothing
// written, for a longer path or an object without an item.
int32_t ZANTPathFromFolderItem(char *buffer, RuntimeObject *object);
}

// The members that open an item as a stream or a virtual volume (their own
// files, with the stream and volume classes).
extern "C" {
RuntimeObject *FolderItemOpenTextFile(RuntimeObject *object);
RuntimeObject *FolderItemAppendTextFile(RuntimeObject *object);
RuntimeObject *FolderItemCreateTextFile(RuntimeObject *object);
RuntimeObject *FolderItemCreateVirtualVolume(RuntimeObject *object);
RuntimeObject *FolderItemOpenAsVirtualVolume(RuntimeObject *object);
RuntimeObject *FolderItemOpenBinaryFile(RuntimeObject *object, int32_t readWrite);
RuntimeObject *FolderItemCreateBinaryFile(RuntimeObject *object, stringStorage *type);
RuntimeObject *folderOpenResourceFork(RuntimeObject *object);
RuntimeObject *folderCreateResourceFork(RuntimeObject *object, stringStorage *type);
RuntimeObject *folderVirtVolGetter(RuntimeObject *object, int32_t param);
}
