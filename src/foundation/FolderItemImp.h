// The abstract file-system item behind the language's FolderItem: one object
// per file or folder, with a default for every operation so that each kind of
// item (POSIX paths, items inside a virtual volume) overrides only what it
// supports. Three defaults are whole algorithms over the other operations:
// the write probe, deleting a folder tree and copying a file in chunks.
#pragma once
#include <cstdint>

#include "foundation/RandomAccessMechanism.h"
#include "foundation/String.h"

struct RuntimeObject; // pictures and edit fields are language objects

enum eSaveInfoMode : int32_t {
  kSaveInfoDefaultMode = 0,
  kSaveInfoRelativeMode = 1,
  kSaveInfoAbsoluteMode = 2
};
enum eOpenPictureFormat : int32_t { kOpenPictureRaster = 0, kOpenPictureVector = 1 };
enum ePictureFormat : int32_t { kSaveAsMostCompatible = 0 };

// "????": the type or creator of an item that has none.
inline constexpr uint32_t kUnknownFourCharCode = 0x3F3F3F3F;

class FolderItemImp {
public:
  explicit FolderItemImp(const string &ignored = string());
  FolderItemImp(const FolderItemImp &other);

  // The virtual operations, in their slot order.
  virtual ~FolderItemImp();
  virtual FolderItemImp &operator=(const FolderItemImp &other);
  virtual FolderItemImp *Clone() const;
  virtual bool Exists();
  virtual bool IsAlias();
  virtual bool IsDirectory();
  virtual bool IsVirtual();
  virtual bool IsTrashFolder();
  virtual string GetName();
  virtual bool SetName(const string &name);
  virtual string GetAbsolutePath();
  virtual string GetDisplayName();
  virtual bool SetDisplayName(const string &name);
  virtual bool GetExtensionVisible();
  virtual bool SetExtensionVisible(bool visible);
  virtual bool GetVisible();
  virtual bool SetVisible(bool visible);
  virtual bool GetLocked();
  virtual bool SetLocked(bool locked);
  virtual string GetTypeString();
  virtual string GetSaveInfo(FolderItemImp *relativeTo, eSaveInfoMode mode);
  virtual uint32_t GetFourCharType();
  virtual bool SetFourCharType(uint32_t code);
  virtual uint32_t GetFourCharCreator();
  virtual bool SetFourCharCreator(uint32_t code);
  virtual double GetCreationDate();
  virtual bool SetCreationDate(double date);
  virtual double GetModificationDate();
  virtual bool SetModificationDate(double date);
  virtual int32_t GetVRefNum();
  virtual int32_t GetDirID();
  virtual int32_t GetSelectedFilterIndex();
  virtual bool SetSelectedFilterIndex(int32_t index);
  virtual bool IsCurrentlyReadable();
  virtual bool IsCurrentlyWriteable();
  virtual int64_t GetLength();
  virtual bool SetLength(int64_t length);
  virtual int64_t GetResourceForkLength();
  // Owned by the caller; nil when the file cannot be opened.
  virtual RandomAccessMechanism *OpenFile(bool forReading, bool forWriting);
  virtual int32_t OpenResourceFork();
  // Items answered below are new and owned by the caller.
  virtual FolderItemImp *GetParent();
  virtual FolderItemImp *GetSpecialFolder(uint32_t selector);
  virtual int32_t GetChildCount();
  virtual FolderItemImp *GetChildByIndex(int32_t index, int32_t aliasDepth);
  virtual FolderItemImp *GetChildByName(const string &name, int32_t aliasDepth);
  // The base answers a copy of the item itself.
  virtual FolderItemImp *ResolveAlias(int32_t depth);
  virtual void ShowOnDisk();
  virtual void MakeFileExecutable();
  virtual bool CreateFolder();
  virtual RandomAccessMechanism *CreateFile(const string &typeName);
  virtual bool DeleteFile();
  virtual bool DeleteFolder();
  virtual bool CopyFileTo(FolderItemImp *destination);
  virtual bool MoveFileTo(FolderItemImp *destination);
  virtual bool Launch(bool activate);
  virtual bool MoveToTrash();
  virtual bool OpenAsStyledEditField(RuntimeObject *editField);
  virtual RuntimeObject *OpenAsImage(eOpenPictureFormat format);
  virtual RuntimeObject *OpenAsMovie();
  virtual RuntimeObject *OpenAsSound();
  virtual RuntimeObject *OpenAsJPEG();
  virtual bool SaveAsPicture(RuntimeObject *picture, ePictureFormat format);
  virtual bool SaveAsJPEG(RuntimeObject *picture);
  virtual bool SaveAsStyledEditField(RuntimeObject *editField);

  // Whether the text's first four bytes are 00 F1 D1 73, the mark of saved
  // item information.
  static bool IsSaveInfoString(const string &text);
  // Saved item information is not understood on this platform: nil.
  static FolderItemImp *ConstructFromSaveInfoString(const string &text, FolderItemImp *relativeTo);

  int32_t mLastError = 0;
};
