#include "files/FolderItemImpVirtual.h"

#include <climits>
#include <cmath>
#include <memory>

#include "files/FileTypes.h"
#include "files/VirtualVolumeObject.h"
#include "foundation/ByteOrder.h"
#include "foundation/VFile.h"
#include "foundation/VolumeObjectReferences.h"

FolderItemImpVirtual::FolderItemImpVirtual(RuntimeObject *volumeObject, const VFileRef &root)
    : mVolumeObject(volumeObject), mName(root.mName), mParent(root), mIsRoot(true) {
  if (root.mIdnum != kRootDirectoryIDnum)
    ShowAlert(kVirtualRootAlert);
  RetainVolumeObject(mVolumeObject);
}

FolderItemImpVirtual::FolderItemImpVirtual(RuntimeObject *volumeObject, const VFileRef &parent,
                                           const string &name, bool isRoot)
    : mVolumeObject(volumeObject), mName(name), mParent(parent), mIsRoot(isRoot) {
  RetainVolumeObject(mVolumeObject);
}

FolderItemImpVirtual::FolderItemImpVirtual(const FolderItemImpVirtual &other)
    : FolderItemImp(other), mVolumeObject(other.mVolumeObject), mName(other.mName),
      mParent(other.mParent), mIsRoot(other.mIsRoot) {
  RetainVolumeObject(mVolumeObject);
}

FolderItemImpVirtual::~FolderItemImpVirtual() { ReleaseVolumeObject(mVolumeObject); }

FolderItemImp &FolderItemImpVirtual::operator=(const FolderItemImp &other) {
  const FolderItemImpVirtual *virtualOther = dynamic_cast<const FolderItemImpVirtual *>(&other);
  if (!virtualOther || virtualOther == this)
    return *this;
  if (virtualOther->mVolumeObject != mVolumeObject) {
    RetainVolumeObject(virtualOther->mVolumeObject);
    ReleaseVolumeObject(mVolumeObject);
    mVolumeObject = virtualOther->mVolumeObject;
  }
  mParent = virtualOther->mParent;
  mName = virtualOther->mName;
  mIsRoot = virtualOther->mIsRoot;
  return *this;
}

FolderItemImp *FolderItemImpVirtual::Clone() const { return new FolderItemImpVirtual(*this); }

VHFSVolume *FolderItemImpVirtual::Volume() const {
  VHFSVolume *volume = VolumeOfVirtVolObject(mVolumeObject);
  return volume && volume->IsValid() ? volume : nullptr;
}

VFileRef FolderItemImpVirtual::FileRef() {
  if (mIsRoot)
    return mParent;
  VHFSVolume *volume = Volume();
  SimpleVector<VFileRef> children;
  if (!volume || !volume->GetChildren(mParent, children))
    return VFileRef();
  for (const VFileRef &child : children)
    if (child.mName.Compare(mName) == 0)
      return child;
  return VFileRef();
}

bool FolderItemImpVirtual::Exists() { return Volume() && FileRef().mType != 0; }

bool FolderItemImpVirtual::IsDirectory() {
  return Volume() && FileRef().mType == kFolderFileType;
}

bool FolderItemImpVirtual::ExistingFile(VFileRef &ref) {
  if (!Volume())
    return false;
  ref = FileRef();
  return ref.mType != 0 && ref.mType != kFolderFileType;
}

bool FolderItemImpVirtual::SetName(const string &name) {
  VHFSVolume *volume = Volume();
  if (!volume)
    return false;
  VFileRef ref = FileRef();
  if (ref.mType == 0 || !volume->SetFileName(ref, name))
    return false;
  mName = ref.mName;
  if (mIsRoot)
    mParent.mName = ref.mName;
  return true;
}

string FolderItemImpVirtual::GetAbsolutePath() {
  string path = mName;
  std::unique_ptr<FolderItemImp> ancestor(GetParent());
  // A damaged volume may hold a cycle of parents: the walk is bounded.
  const int64_t steps = Volume() ? Volume()->MaxWalkSteps() : 0;
  for (int64_t step = 0; ancestor && step < steps; ++step) {
    path = ancestor->GetName() + "/" + path;
    ancestor.reset(ancestor->GetParent());
  }
  return path;
}

string FolderItemImpVirtual::GetTypeString() {
  return Exists() ? getFileType(mName) : string();
}

uint32_t FolderItemImpVirtual::GetFourCharType() {
  const VFileRef ref = Volume() ? FileRef() : VFileRef();
  return ref.mType != 0 ? SwapEndianLong(ref.mType) : FolderItemImp::GetFourCharType();
}

bool FolderItemImpVirtual::SetFourCharType(uint32_t code) {
  VFileRef ref;
  return ExistingFile(ref) && Volume()->SetFileType(ref, SwapEndianLong(code));
}

double FolderItemImpVirtual::GetCreationDate() {
  const VFileRef ref = Volume() ? FileRef() : VFileRef();
  return ref.mType ? Volume()->GetFileInfo(ref).mCreationDate : 0;
}

double FolderItemImpVirtual::GetModificationDate() {
  const VFileRef ref = Volume() ? FileRef() : VFileRef();
  return ref.mType ? Volume()->GetFileInfo(ref).mModificationDate : 0;
}

bool FolderItemImpVirtual::ChangeInfo(double VFileInfo::*field, double value) {
  VFileRef ref;
  if (!ExistingFile(ref))
    return false;
  VFileInfo info = Volume()->GetFileInfo(ref);
  info.*field = value;
  return Volume()->SetFileInfo(info);
}

bool FolderItemImpVirtual::SetCreationDate(double date) {
  return ChangeInfo(&VFileInfo::mCreationDate, date);
}

bool FolderItemImpVirtual::SetModificationDate(double date) {
  return ChangeInfo(&VFileInfo::mModificationDate, date);
}

int32_t FolderItemImpVirtual::GetDirID() {
  if (!Exists())
    return 0;
  return mIsRoot ? static_cast<int32_t>(kRootDirectoryIDnum)
                 : static_cast<int32_t>(mParent.mIdnum);
}

int64_t FolderItemImpVirtual::GetLength() {
  const VFileRef ref = Volume() ? FileRef() : VFileRef();
  if (ref.mType == 0)
    return 0;
  // Stored as a double: anything but a length in the 32-bit range counts as
  // its nearest end.
  const double length = Volume()->GetFileInfo(ref).mDataLength;
  if (!(length > 0))
    return 0;
  return length >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
}

bool FolderItemImpVirtual::SetLength(int64_t length) {
  if (length < 0 || length > INT32_MAX)
    return false;
  return ChangeInfo(&VFileInfo::mDataLength, static_cast<double>(length));
}

RandomAccessMechanism *FolderItemImpVirtual::OpenFile(bool, bool) {
  VFileRef ref;
  if (!ExistingFile(ref))
    return nullptr;
  VFile *file = Volume()->OpenFile(ref);
  if (!file)
    return nullptr;
  file->SetVirtVolObject(mVolumeObject);
  file->SetBigEndian();
  file->mSwapDoubles = 1;
  return file;
}

FolderItemImp *FolderItemImpVirtual::GetParent() {
  VHFSVolume *volume = Volume();
  if (!volume || mIsRoot || mParent.mType == 0)
    return nullptr;
  const VFileRef grandparent = volume->GetParent(mParent);
  if (grandparent.mType == 0)
    return new FolderItemImpVirtual(mVolumeObject, mParent, mParent.mName, true);
  return new FolderItemImpVirtual(mVolumeObject, grandparent, mParent.mName, false);
}

int32_t FolderItemImpVirtual::GetChildCount() {
  VHFSVolume *volume = Volume();
  SimpleVector<VFileRef> children;
  if (!volume || !volume->GetChildren(FileRef(), children))
    return 0;
  return children.count();
}

FolderItemImp *FolderItemImpVirtual::GetChildByIndex(int32_t index, int32_t) {
  VHFSVolume *volume = Volume();
  SimpleVector<VFileRef> children;
  const VFileRef own = volume ? FileRef() : VFileRef();
  if (!volume || !volume->GetChildren(own, children) || index < 0 || index >= children.count())
    return nullptr;
  return new FolderItemImpVirtual(mVolumeObject, own, children[index].mName, false);
}

FolderItemImp *FolderItemImpVirtual::GetChildByName(const string &name, int32_t) {
  const VFileRef own = Volume() ? FileRef() : VFileRef();
  if (own.mType != kFolderFileType)
    return nullptr;
  return new FolderItemImpVirtual(mVolumeObject, own, name, false);
}

bool FolderItemImpVirtual::CreateFolder() {
  VHFSVolume *volume = Volume();
  if (!volume || mIsRoot || FileRef().mType != 0)
    return false;
  return volume->CreateDirectory(mParent, mName).mType == kFolderFileType;
}

RandomAccessMechanism *FolderItemImpVirtual::CreateFile(const string &) {
  VHFSVolume *volume = Volume();
  if (!volume || mIsRoot || FileRef().mType != 0)
    return nullptr;
  const VFileRef ref = volume->CreateFile(mParent, mName, kUnknownFileType);
  VFile *file = ref.mType ? volume->OpenFile(ref) : nullptr;
  if (file)
    file->SetVirtVolObject(mVolumeObject);
  return file;
}

bool FolderItemImpVirtual::DeleteFile() {
  VHFSVolume *volume = Volume();
  const VFileRef ref = volume ? FileRef() : VFileRef();
  return ref.mType != 0 && volume->DeleteFile(ref);
}

bool FolderItemImpVirtual::MoveFileTo(FolderItemImp *destination) {
  VHFSVolume *volume = Volume();
  if (!volume || !destination)
    return false;
  if (destination == this)
    return true;
  FolderItemImpVirtual *target = dynamic_cast<FolderItemImpVirtual *>(destination);
  if (!target || target->mVolumeObject != mVolumeObject)
    return CopyFileTo(destination) && DeleteFile();

  VFileRef own = FileRef();
  if (own.mType == 0)
    return false;
  if (target->IsDirectory())
    return volume->MoveFile(own, target->FileRef());

  // A file destination, existing or not: every check comes before the first
  // change, so a refused move leaves both objects as they were.
  std::unique_ptr<FolderItemImp> parentItem(target->GetParent());
  FolderItemImpVirtual *parent = dynamic_cast<FolderItemImpVirtual *>(parentItem.get());
  if (!parent)
    return false;
  VFileRef folder = parent->FileRef();
  VFileRef loaded;
  loaded.mIdnum = folder.mIdnum;
  volume->LoadFileInfo(&loaded);
  if (folder.mType != kFolderFileType || loaded.mType != kFolderFileType)
    return false;
  const string newName = VHFSVolume::StoredName(target->mName);
  const VFileRef existing = target->FileRef();
  if (newName.IsEmpty())
    return false;
  if (existing.mType != 0 && existing.mIdnum == own.mIdnum)
    return own.mName.CompareWithCase(newName) == 0 || volume->SetFileName(own, newName);
  if (existing.mType == kFolderFileType || (existing.mType != 0 &&
                                            volume->BlockStore()->IsFileOpen(existing.mIdnum)))
    return false;
  if (own.mType == kFolderFileType && volume->IsWithin(folder.mIdnum, own.mIdnum))
    return false;
  SimpleVector<VFileRef> siblings;
  if (!volume->GetChildren(folder, siblings))
    return false;
  const bool sameFolder = volume->GetParent(own).mIdnum == folder.mIdnum;
  for (const VFileRef &sibling : siblings) {
    if (sibling.mIdnum == own.mIdnum || sibling.mIdnum == existing.mIdnum)
      continue;
    if (sibling.mName.Compare(newName) == 0 || (!sameFolder && sibling.mName.Compare(own.mName) == 0))
      return false;
  }
  if (existing.mType != 0 && !volume->DeleteFile(existing))
    return false;
  if (!volume->MoveFile(own, folder))
    return false;
  return own.mName.CompareWithCase(newName) == 0 || volume->SetFileName(own, newName);
}
