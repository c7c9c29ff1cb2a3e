#include "foundation/VHFSVolume.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "foundation/ByteOrder.h"
#include "foundation/DateImp.h"
#include "foundation/VFile.h"

namespace {

// An open handle of the block store, closed on every path.
class OpenObject {
public:
  OpenObject(VFSVolume *volume, uint32_t idnum)
      : mVolume(volume), mHandle(volume && volume->mValid ? volume->OpenFile(idnum) : -1) {}
  ~OpenObject() {
    if (mHandle >= 0)
      mVolume->CloseFile(mHandle);
  }
  OpenObject(const OpenObject &) = delete;
  OpenObject &operator=(const OpenObject &) = delete;
  bool IsOpen() const { return mHandle >= 0; }
  int16_t Handle() const { return mHandle; }
  // Hands the handle over to the caller.
  int16_t Release() {
    const int16_t handle = mHandle;
    mHandle = -1;
    return handle;
  }
  bool Read(int64_t offset, void *bytes, int64_t count) {
    double got = static_cast<double>(count);
    return mHandle >= 0 && mVolume->SetFilePosition(mHandle, static_cast<double>(offset)) &&
           mVolume->ReadFileData(mHandle, &got, bytes) && got == static_cast<double>(count);
  }
  bool Write(int64_t offset, const void *bytes, int64_t count) {
    return mHandle >= 0 && mVolume->SetFilePosition(mHandle, static_cast<double>(offset)) &&
           mVolume->WriteFileData(mHandle, bytes, static_cast<double>(count));
  }

private:
  VFSVolume *mVolume;
  int16_t mHandle;
};

// Typed values of the object header: big-endian from version 3 on, machine
// order before.
template <typename Value>
void PutValue(char *at, Value value, bool bigEndian) {
  std::memcpy(at, &value, sizeof value);
  if (bigEndian)
    swapBytes(at, sizeof value);
}

template <typename Value>
Value GetValue(const char *at, bool bigEndian) {
  char bytes[sizeof(Value)];
  std::memcpy(bytes, at, sizeof bytes);
  if (bigEndian)
    swapBytes(bytes, sizeof bytes);
  Value value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

void PutLong(char *at, uint32_t value, bool bigEndian) { PutValue(at, value, bigEndian); }
uint32_t GetLong(const char *at, bool bigEndian) { return GetValue<uint32_t>(at, bigEndian); }
void PutDouble(char *at, double value, bool bigEndian) { PutValue(at, value, bigEndian); }
double GetDouble(const char *at, bool bigEndian) { return GetValue<double>(at, bigEndian); }

// The count of entries a folder's data length leaves room for (0 when the
// length is no whole number in range).
int64_t ListCapacity(double dataLength) {
  if (!std::isfinite(dataLength) || dataLength < 0 || dataLength > kMaximumVolumeLength)
    return 0;
  return static_cast<int64_t>(dataLength) / 4;
}

void FillNameField(char *field, const string &storedName) {
  std::memset(field, 0, kObjectNameFieldSize);
  std::memcpy(field, storedName.CString(), storedName.Length());
}

// Flushes the volume's stream when the operation that made it returns, so
// that a change that returned survives the process being killed.
class FlushOnReturn {
public:
  explicit FlushOnReturn(VFSVolume *volume) : mVolume(volume) {}
  ~FlushOnReturn() {
    if (mVolume)
      mVolume->FlushStream();
  }
  FlushOnReturn(const FlushOnReturn &) = delete;
  FlushOnReturn &operator=(const FlushOnReturn &) = delete;

private:
  VFSVolume *mVolume;
};

} // namespace

VHFSVolume *VHFSVolume::Create(RandomAccessMechanism *stream, bool ownsStream) {
  VFSVolume *store = VFSVolume::Create(stream, ownsStream);
  if (!store)
    return nullptr;
  VHFSVolume *volume = new VHFSVolume(store);
  FlushOnReturn flush(store);
  if (!store->mValid)
    return volume;
  const uint32_t idnum = store->CreateFile();
  if (idnum != kRootDirectoryIDnum) {
    ShowAlert(kVHFSRootIdnumAlert);
    return volume;
  }
  const bool big = volume->BigEndianData();
  char bytes[kChildCountOffset + 4] = {};
  const double now = DateImp::CurrentTotalSeconds();
  PutDouble(bytes + kObjectDataLengthOffset, 4, big);
  PutLong(bytes + kObjectTypeOffset, kFolderFileType, big);
  PutLong(bytes + kObjectParentOffset, 0, big);
  PutDouble(bytes + kObjectCreationDateOffset, now, big);
  PutDouble(bytes + kObjectModificationDateOffset, now, big);
  bytes[kObjectNameOffset] = '/';
  PutLong(bytes + kChildCountOffset, 0, big);
  OpenObject root(store, idnum);
  root.Write(0, bytes, sizeof bytes);
  return volume;
}

VHFSVolume::VHFSVolume(RandomAccessMechanism *stream, bool ownsStream)
    : mVolume(new VFSVolume(stream, ownsStream)) {}

VHFSVolume::~VHFSVolume() { delete mVolume; }

bool VHFSVolume::BigEndianData() const {
  return mVolume->mVersion >= kFirstBigEndianDataVersion;
}

bool VHFSVolume::ReadObjectHeader(uint32_t idnum, ObjectHeader &header) {
  OpenObject object(mVolume, idnum);
  char bytes[kChildCountOffset + 1];
  if (!object.Read(0, bytes, kChildCountOffset))
    return false;
  const bool big = BigEndianData();
  header.mDataLength = GetDouble(bytes + kObjectDataLengthOffset, big);
  header.mType = GetLong(bytes + kObjectTypeOffset, big);
  header.mParent = GetLong(bytes + kObjectParentOffset, big);
  header.mCreationDate = GetDouble(bytes + kObjectCreationDateOffset, big);
  header.mModificationDate = GetDouble(bytes + kObjectModificationDateOffset, big);
  bytes[kChildCountOffset] = 0;
  bytes[kObjectNameOffset + kMaximumNameLength] = 0;
  header.mName = string(bytes + kObjectNameOffset);
  return true;
}

bool VHFSVolume::ReadChildList(uint32_t folder, SimpleVector<uint32_t> &ids, double &dataLength) {
  ids.resize(0);
  OpenObject object(mVolume, folder);
  char bytes[kChildCountOffset + 4];
  if (!object.Read(0, bytes, sizeof bytes))
    return false;
  const bool big = BigEndianData();
  if (GetLong(bytes + kObjectTypeOffset, big) != kFolderFileType)
    return false;
  dataLength = GetDouble(bytes + kObjectDataLengthOffset, big);
  int64_t count = GetLong(bytes + kChildCountOffset, big);
  // The list must fit both the folder's data length and the volume file.
  if (count > ListCapacity(dataLength) || 4 * count > mVolume->FileLength()) {
    ShowAlert(kVHFSChildCountAlert);
    count = 0;
  }
  if (count == 0)
    return true;
  std::unique_ptr<char[]> list(new (std::nothrow) char[4 * count]);
  if (!list || !object.Read(kChildCountOffset + 4, list.get(), 4 * count))
    return false;
  ids.resize(static_cast<int32_t>(count));
  for (int64_t i = 0; i < count; ++i)
    ids[static_cast<int32_t>(i)] = GetLong(list.get() + 4 * i, big);
  return true;
}

bool VHFSVolume::WriteAt(uint32_t idnum, int64_t offset, const void *bytes, int32_t count) {
  OpenObject object(mVolume, idnum);
  return object.Write(offset, bytes, count);
}

bool VHFSVolume::WriteLongAt(uint32_t idnum, int64_t offset, uint32_t value) {
  char bytes[4];
  PutLong(bytes, value, BigEndianData());
  return WriteAt(idnum, offset, bytes, 4);
}

void VHFSVolume::LoadFileInfo(VFileRef *ref) {
  if (!ref) {
    ShowAlert(kVHFSRefAlert);
    return;
  }
  ObjectHeader header;
  if (!IsValid() || !ReadObjectHeader(ref->mIdnum, header))
    return;
  ref->mType = header.mType;
  ref->mName = header.mName;
}

VFileRef VHFSVolume::GetRoot() {
  VFileRef root;
  if (!IsValid())
    return root;
  root.mIdnum = kRootDirectoryIDnum;
  LoadFileInfo(&root);
  if (root.mType == 0)
    return VFileRef();
  return root;
}

string VHFSVolume::StoredName(const string &name) {
  const int length = name.Length();
  const char *bytes = name.CString();
  if (length == 0 || std::memchr(bytes, 0, length) || std::memchr(bytes, '/', length))
    return string();
  string stored = length > kMaximumNameLength ? left(name, kMaximumNameLength) : name;
  if (stored.CompareWithCase(".") == 0 || stored.CompareWithCase("..") == 0)
    return string();
  return stored;
}

bool VHFSVolume::NameTaken(const VFileRef &folder, const string &storedName, uint32_t except) {
  SimpleVector<VFileRef> children;
  if (!GetChildren(folder, children))
    return false;
  for (const VFileRef &child : children)
    if (child.mIdnum != except && child.mName.Compare(storedName) == 0)
      return true;
  return false;
}

bool VHFSVolume::IsWithin(uint32_t folder, uint32_t ancestor) {
  const int64_t steps = MaxWalkSteps();
  for (int64_t step = 0; step < steps && folder != 0; ++step) {
    if (folder == ancestor)
      return true;
    ObjectHeader header;
    if (!ReadObjectHeader(folder, header))
      return false;
    folder = header.mParent;
  }
  // A walk that does not end meets a cycle: treat it as within, so that
  // nothing moves into it.
  return folder != 0;
}

VFileRef VHFSVolume::CreateObject(const VFileRef &folder, const string &name, VFileType type,
                                  bool isFolder) {
  FlushOnReturn flush(mVolume);
  const string stored = StoredName(name);
  ObjectHeader folderHeader;
  if (!IsValid() || folder.mType != kFolderFileType || stored.IsEmpty() ||
      !ReadObjectHeader(folder.mIdnum, folderHeader) || folderHeader.mType != kFolderFileType ||
      NameTaken(folder, stored, 0))
    return VFileRef();
  const uint32_t idnum = mVolume->CreateFile();
  if (idnum == 0)
    return VFileRef();
  // The object is complete before any folder lists it.
  const bool big = BigEndianData();
  char bytes[kChildCountOffset + 4] = {};
  const double now = DateImp::CurrentTotalSeconds();
  const VFileType storedType = isFolder ? kFolderFileType : type;
  PutDouble(bytes + kObjectDataLengthOffset, isFolder ? 4 : 0, big);
  PutLong(bytes + kObjectTypeOffset, storedType, big);
  PutLong(bytes + kObjectParentOffset, folder.mIdnum, big);
  PutDouble(bytes + kObjectCreationDateOffset, now, big);
  PutDouble(bytes + kObjectModificationDateOffset, now, big);
  FillNameField(bytes + kObjectNameOffset, stored);
  PutLong(bytes + kChildCountOffset, 0, big);
  VFileRef ref;
  ref.mIdnum = idnum;
  ref.mName = stored;
  ref.mType = storedType;
  if (!WriteAt(idnum, 0, bytes, isFolder ? kChildCountOffset + 4 : kChildCountOffset) ||
      !LinkFile(ref, folder)) {
    mVolume->DeleteFile(idnum);
    return VFileRef();
  }
  return ref;
}

VFileRef VHFSVolume::CreateFile(const VFileRef &folder, const string &name, VFileType type) {
  if (type == 0 || type == kFolderFileType)
    return VFileRef();
  return CreateObject(folder, name, type, false);
}

VFileRef VHFSVolume::CreateDirectory(const VFileRef &folder, const string &name) {
  return CreateObject(folder, name, kFolderFileType, true);
}

bool VHFSVolume::LinkFile(const VFileRef &ref, const VFileRef &folder) {
  FlushOnReturn flush(mVolume);
  if (!IsValid() || ref.mType == 0 || folder.mType != kFolderFileType)
    return false;
  OpenObject object(mVolume, folder.mIdnum);
  char bytes[kChildCountOffset + 4];
  if (!object.Read(0, bytes, sizeof bytes))
    return false;
  const bool big = BigEndianData();
  const int64_t count = GetLong(bytes + kChildCountOffset, big);
  if (GetLong(bytes + kObjectTypeOffset, big) != kFolderFileType ||
      count > ListCapacity(GetDouble(bytes + kObjectDataLengthOffset, big)))
    return false;
  // Entry and length first: the count written last makes the entry visible.
  char value[8];
  PutLong(value, ref.mIdnum, big);
  if (!object.Write(kChildCountOffset + 4 * (count + 1), value, 4))
    return false;
  PutDouble(value, static_cast<double>(4 * (count + 1) + 4), big);
  if (!object.Write(kObjectDataLengthOffset, value, 8))
    return false;
  PutLong(value, static_cast<uint32_t>(count + 1), big);
  return object.Write(kChildCountOffset, value, 4);
}

bool VHFSVolume::UnlinkFile(const VFileRef &ref, const VFileRef &folder) {
  FlushOnReturn flush(mVolume);
  if (!IsValid())
    return false;
  SimpleVector<uint32_t> ids;
  double dataLength = 0;
  if (!ReadChildList(folder.mIdnum, ids, dataLength) || ids.count() == 0)
    return false;
  const int32_t last = ids.count() - 1;
  int32_t index = last;
  while (index >= 0 && ids[index] != ref.mIdnum)
    --index;
  if (index < 0)
    return false;
  const bool big = BigEndianData();
  char value[4];
  if (index != last) {
    PutLong(value, ids[last], big);
    if (!WriteAt(folder.mIdnum, kChildCountOffset + 4 + 4 * index, value, 4))
      return false;
  }
  return WriteLongAt(folder.mIdnum, kChildCountOffset, static_cast<uint32_t>(last));
}

bool VHFSVolume::GetChildren(const VFileRef &folder, SimpleVector<VFileRef> &children) {
  children.resize(0);
  if (!IsValid() || folder.mType != kFolderFileType)
    return false;
  SimpleVector<uint32_t> ids;
  double dataLength = 0;
  if (!ReadChildList(folder.mIdnum, ids, dataLength))
    return false;
  std::unordered_set<uint32_t> seen;
  for (uint32_t idnum : ids) {
    if (!seen.insert(idnum).second)
      continue;
    ObjectHeader header;
    // Only objects that load, name this folder as parent and carry an
    // acceptable name are its children.
    if (idnum == folder.mIdnum || !ReadObjectHeader(idnum, header) || header.mType == 0 ||
        header.mParent != folder.mIdnum || StoredName(header.mName).IsEmpty())
      continue;
    VFileRef child;
    child.mIdnum = idnum;
    child.mName = header.mName;
    child.mType = header.mType;
    children.push_back(child);
  }
  return true;
}

VFileRef VHFSVolume::GetParent(const VFileRef &ref) {
  ObjectHeader header;
  if (!IsValid() || !ReadObjectHeader(ref.mIdnum, header) || header.mParent == 0)
    return VFileRef();
  VFileRef parent;
  parent.mIdnum = header.mParent;
  LoadFileInfo(&parent);
  if (parent.mType == 0)
    return VFileRef();
  return parent;
}

VFileInfo VHFSVolume::GetFileInfo(const VFileRef &ref) {
  VFileInfo info;
  info.mRef = ref;
  ObjectHeader header;
  if (IsValid() && ReadObjectHeader(ref.mIdnum, header)) {
    info.mDataLength = header.mDataLength;
    info.mCreationDate = header.mCreationDate;
    info.mModificationDate = header.mModificationDate;
  }
  return info;
}

bool VHFSVolume::SetFileInfo(const VFileInfo &info) {
  FlushOnReturn flush(mVolume);
  if (!IsValid() || info.mRef.mType == 0)
    return false;
  OpenObject object(mVolume, info.mRef.mIdnum);
  const bool big = BigEndianData();
  char value[8];
  PutDouble(value, info.mDataLength, big);
  bool ok = object.Write(kObjectDataLengthOffset, value, 8);
  PutDouble(value, info.mCreationDate, big);
  ok = object.Write(kObjectCreationDateOffset, value, 8) && ok;
  PutDouble(value, info.mModificationDate, big);
  return object.Write(kObjectModificationDateOffset, value, 8) && ok;
}

bool VHFSVolume::SetFileName(VFileRef &ref, const string &name) {
  FlushOnReturn flush(mVolume);
  const string stored = StoredName(name);
  ObjectHeader header;
  if (!IsValid() || ref.mType == 0 || stored.IsEmpty() || !ReadObjectHeader(ref.mIdnum, header))
    return false;
  if (header.mParent != 0) {
    VFileRef parent;
    parent.mIdnum = header.mParent;
    parent.mType = kFolderFileType;
    if (NameTaken(parent, stored, ref.mIdnum))
      return false;
  }
  char field[kObjectNameFieldSize];
  FillNameField(field, stored);
  if (!WriteAt(ref.mIdnum, kObjectNameOffset, field, kObjectNameFieldSize))
    return false;
  ref.mName = stored;
  return true;
}

bool VHFSVolume::SetFileType(VFileRef &ref, VFileType type) {
  FlushOnReturn flush(mVolume);
  if (!IsValid() || ref.mType == 0 || ref.mType == kFolderFileType || type == 0 ||
      type == kFolderFileType)
    return false;
  if (!WriteLongAt(ref.mIdnum, kObjectTypeOffset, type))
    return false;
  ref.mType = type;
  return true;
}

bool VHFSVolume::MoveFile(const VFileRef &ref, const VFileRef &newFolder) {
  FlushOnReturn flush(mVolume);
  ObjectHeader header, folderHeader;
  if (!IsValid() || ref.mType == 0 || newFolder.mType != kFolderFileType ||
      !ReadObjectHeader(ref.mIdnum, header))
    return false;
  if (header.mParent == newFolder.mIdnum)
    return true;
  if (ref.mIdnum == kRootDirectoryIDnum || !ReadObjectHeader(newFolder.mIdnum, folderHeader) ||
      folderHeader.mType != kFolderFileType ||
      (header.mType == kFolderFileType && IsWithin(newFolder.mIdnum, ref.mIdnum)) ||
      NameTaken(newFolder, header.mName, ref.mIdnum))
    return false;
  // Link, name the new parent, unlink: a move cut short leaves the object
  // listed where its parent field says.
  if (!LinkFile(ref, newFolder))
    return false;
  if (!WriteLongAt(ref.mIdnum, kObjectParentOffset, newFolder.mIdnum)) {
    UnlinkFile(ref, newFolder);
    return false;
  }
  VFileRef oldFolder;
  oldFolder.mIdnum = header.mParent;
  oldFolder.mType = kFolderFileType;
  UnlinkFile(ref, oldFolder);
  return true;
}

bool VHFSVolume::DeleteFile(const VFileRef &ref) {
  FlushOnReturn flush(mVolume);
  ObjectHeader header;
  if (!IsValid() || ref.mIdnum == kRootDirectoryIDnum || !ReadObjectHeader(ref.mIdnum, header))
    return false;
  if (header.mType == kFolderFileType) {
    VFileRef folder = ref;
    folder.mType = kFolderFileType;
    SimpleVector<VFileRef> children;
    if (!GetChildren(folder, children) || children.count() != 0)
      return false;
  }
  const VFileRef parent = GetParent(ref);
  if (parent.mType != kFolderFileType || mVolume->IsFileOpen(ref.mIdnum))
    return false;
  // Unlink, then free: a delete cut short leaks blocks, never a listed
  // object without them.
  if (!UnlinkFile(ref, parent))
    return false;
  return mVolume->DeleteFile(ref.mIdnum);
}

VFile *VHFSVolume::OpenFile(const VFileRef &ref) {
  if (!IsValid() || ref.mType == 0 || ref.mType == kFolderFileType)
    return nullptr;
  OpenObject object(mVolume, ref.mIdnum);
  char bytes[8];
  if (!object.Read(kObjectDataLengthOffset, bytes, 8))
    return nullptr;
  const double length = GetDouble(bytes, BigEndianData());
  VFile *file = new VFile;
  file->mVolume = mVolume;
  file->mHandle = object.Release();
  file->mLength = !(length > 0) ? 0 : length >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
  return file;
}
