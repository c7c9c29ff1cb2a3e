// Folder items on POSIX paths. The item is nothing but an absolute path:
// every query goes straight to the system calls, and the item never holds a
// file open. A folder that existed when the item was made (or that the item
// created) keeps a trailing "/", so that a child's path is the folder's path
// followed by the child's name.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/FolderItemImp.h"
#include "foundation/String.h"

inline constexpr char kFolderItemUnixAlertSource[] = "../Common/Linux/FolderItemImpUnix";
inline constexpr AlertSite kNotVirtualAlert{kFolderItemUnixAlertSource, 82,
                                            "not other.IsVirtual()"};
inline constexpr AlertSite kNewFileAlert{kFolderItemUnixAlertSource, 513, "newFile"};
inline constexpr AlertSite kDestinationAlert{kFolderItemUnixAlertSource, 640, "destination"};
inline constexpr AlertSite kAppFolderItemAlert{kFolderItemUnixAlertSource, 871, "ret"};

// The depth callers pass to follow symbolic links.
inline constexpr int32_t kFollowAliases = 64;

class FolderItemImpUnix final : public FolderItemImp {
public:
  // A relative path is made absolute against the application folder; an
  // existing folder gets a trailing "/". When invalid is given, it is set
  // when stat on the final path fails for any reason but a missing file, and
  // cleared for a missing file (left alone when stat succeeds).
  explicit FolderItemImpUnix(const string &path, bool *invalid = nullptr);
  FolderItemImpUnix(const FolderItemImpUnix &other);
  ~FolderItemImpUnix() override;

  // The item of the running program's file, its path taken as it is.
  static FolderItemImpUnix *GetAppFolderItem();
  // Wraps an exact path with none of the constructor's rules.
  static FolderItemImpUnix *WithExactPath(const string &path);

  FolderItemImp &operator=(const FolderItemImp &other) override;
  FolderItemImp *Clone() const override;
  bool Exists() override;
  bool IsAlias() override;
  bool IsDirectory() override;
  string GetName() override;
  bool SetName(const string &name) override;
  string GetAbsolutePath() override;
  string GetDisplayName() override;
  bool SetDisplayName(const string &name) override;
  bool GetVisible() override;
  bool SetVisible(bool visible) override;
  bool GetLocked() override;
  bool SetLocked(bool locked) override;
  string GetSaveInfo(FolderItemImp *relativeTo, eSaveInfoMode mode) override;
  double GetCreationDate() override;
  bool SetCreationDate(double date) override;
  double GetModificationDate() override;
  bool SetModificationDate(double date) override;
  bool IsCurrentlyReadable() override;
  bool IsCurrentlyWriteable() override;
  int64_t GetLength() override;
  bool SetLength(int64_t length) override;
  RandomAccessMechanism *OpenFile(bool forReading, bool forWriting) override;
  FolderItemImp *GetParent() override;
  FolderItemImp *GetSpecialFolder(uint32_t selector) override;
  int32_t GetChildCount() override;
  FolderItemImp *GetChildByIndex(int32_t index, int32_t aliasDepth) override;
  FolderItemImp *GetChildByName(const string &name, int32_t aliasDepth) override;
  FolderItemImp *ResolveAlias(int32_t depth) override;
  void MakeFileExecutable() override;
  bool CreateFolder() override;
  RandomAccessMechanism *CreateFile(const string &typeName) override;
  bool DeleteFile() override;
  bool CopyFileTo(FolderItemImp *destination) override;
  bool MoveFileTo(FolderItemImp *destination) override;
  bool Launch(bool activate) override;
  // Pictures and sounds (FolderItemPicturesGTK.cpp).
  RuntimeObject *OpenAsImage(eOpenPictureFormat format) override;
  bool SaveAsPicture(RuntimeObject *picture, ePictureFormat format) override;
  RuntimeObject *OpenAsSound() override;
  // 400 for a path ending in ".xpm" (any case), else 350 for a file starting
  // with "BM", else 0.
  int32_t GetPictureFormat();
  // The file starts with "RIFF" or "FORM".
  bool IsValidSoundFormat();

private:
  FolderItemImpUnix() = default;
  bool EndsInSlash() const;
  // The path without a trailing "/": the link itself where the item names
  // one, where the path with the "/" names what the link points to.
  string LinkPath() const;
  // The path without the name and without a trailing "/" (ends in "/").
  string ParentPath();
  bool RenameTo(const string &newPath);

  string mPath;
};

// File times and the Date values of folder items (seconds since 1904-01-01,
// local time), converted through the local time zone.
double DateValueOfPosixTime(int64_t seconds);
int64_t PosixTimeOfDateValue(double date);
