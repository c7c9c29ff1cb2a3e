// Folder items inside a virtual volume. An item is where an object would be:
// the folder that holds it and its own name. Whether it exists, and what it
// is, is looked up in the volume each time, so an item can name an object
// that does not exist yet and then create it. Every item holds a reference to
// the VirtualVolume object, which keeps the volume open.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/FolderItemImp.h"
#include "foundation/String.h"
#include "foundation/VHFSVolume.h"

struct RuntimeObject;

inline constexpr char kFolderItemVirtualAlertSource[] =
    "../Universal/FolderItemImp/FolderItemImpVirtual";
inline constexpr AlertSite kVirtualRootAlert{kFolderItemVirtualAlertSource, 38, "0"};

class FolderItemImpVirtual final : public FolderItemImp {
public:
  // The root item of a volume; root must be the volume's root reference.
  FolderItemImpVirtual(RuntimeObject *volumeObject, const VFileRef &root);
  FolderItemImpVirtual(const FolderItemImpVirtual &other);
  ~FolderItemImpVirtual() override;

  FolderItemImp &operator=(const FolderItemImp &other) override;
  FolderItemImp *Clone() const override;
  bool Exists() override;
  bool IsDirectory() override;
  bool IsVirtual() override { return true; }
  string GetName() override { return mName; }
  bool SetName(const string &name) override;
  string GetAbsolutePath() override;
  string GetTypeString() override;
  // Codes cross here from the volume's integers to the runtime's memory
  // order, so a type reads the same as on a POSIX item.
  uint32_t GetFourCharType() override;
  bool SetFourCharType(uint32_t code) override;
  double GetCreationDate() override;
  bool SetCreationDate(double date) override;
  double GetModificationDate() override;
  bool SetModificationDate(double date) override;
  int32_t GetDirID() override;
  int64_t GetLength() override;
  bool SetLength(int64_t length) override;
  RandomAccessMechanism *OpenFile(bool forReading, bool forWriting) override;
  FolderItemImp *GetParent() override;
  int32_t GetChildCount() override;
  FolderItemImp *GetChildByIndex(int32_t index, int32_t aliasDepth) override;
  FolderItemImp *GetChildByName(const string &name, int32_t aliasDepth) override;
  bool CreateFolder() override;
  RandomAccessMechanism *CreateFile(const string &typeName) override;
  bool DeleteFile() override;
  // Refuses before changing anything when the move cannot be done.
  bool MoveFileTo(FolderItemImp *destination) override;

  // The item's object in its folder (looked up by name without regard to
  // case); type 0 when there is none.
  VFileRef FileRef();
  RuntimeObject *VolumeObject() const { return mVolumeObject; }

private:
  FolderItemImpVirtual(RuntimeObject *volumeObject, const VFileRef &parent, const string &name,
                       bool isRoot);
  VHFSVolume *Volume() const;
  // The own reference when the object exists and is a file.
  bool ExistingFile(VFileRef &ref);
  bool ChangeInfo(double VFileInfo::*field, double value);

  RuntimeObject *mVolumeObject;
  string mName;
  VFileRef mParent;
  bool mIsRoot;
};
