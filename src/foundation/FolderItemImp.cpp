#include "foundation/FolderItemImp.h"

#include <cstring>
#include <memory>

#include "foundation/NumberText.h"
#include "foundation/SimpleVector.h"
#include "foundation/TextEncodings.h"

namespace {

constexpr long kCopyChunkSize = 4096;

string EmptyASCII() {
  string empty;
  empty.SetEncoding(kEncodingASCII);
  return empty;
}

// Closes and deletes a stream the item handed out.
void Finish(RandomAccessMechanism *stream) {
  if (!stream)
    return;
  stream->Close();
  delete stream;
}

// A child name in the folder that no item has yet: "$$TestFile$$", then the
// same followed by 0, 1, ...
FolderItemImp *FreeProbeChild(FolderItemImp &folder) {
  const string base("$$TestFile$$");
  FolderItemImp *probe = folder.GetChildByName(base, 0);
  for (long suffix = 0; probe && probe->Exists(); ++suffix) {
    delete probe;
    probe = folder.GetChildByName(base + ultoa(suffix), 0);
  }
  return probe;
}

// Whether one byte of an existing file can be read and written back in place.
bool ByteRewriteSucceeds(FolderItemImp &item) {
  const double modified = item.GetModificationDate();
  RandomAccessMechanism *stream = item.OpenFile(true, true);
  if (!stream)
    return false;
  unsigned char byte = 0;
  long got = 0;
  if (!stream->ReadData(&byte, 1, got) || got != 1) {
    Finish(stream);
    return true;
  }
  const bool written = stream->SeekFromStart(0) && stream->WriteData(&byte, 1);
  Finish(stream);
  if (written)
    item.SetModificationDate(modified);
  return written;
}

// Whether a probe file can be created in the folder (left as it was).
bool ProbeFileCanBeCreated(FolderItemImp &folder) {
  FolderItemImp *probe = FreeProbeChild(folder);
  const double modified = folder.GetModificationDate();
  bool created = false;
  if (probe) {
    if (RandomAccessMechanism *stream = probe->CreateFile(string("????"))) {
      Finish(stream);
      probe->DeleteFile();
      created = true;
    }
    delete probe;
  }
  folder.SetModificationDate(modified);
  return created;
}

// Copies length bytes from one stream to the other in chunks.
bool CopyBytes(RandomAccessMechanism &from, RandomAccessMechanism &to, int64_t length) {
  char chunk[kCopyChunkSize];
  while (length > 0) {
    long got = 0;
    const long want = length < kCopyChunkSize ? long(length) : kCopyChunkSize;
    if (!from.ReadData(chunk, want, got) || got <= 0)
      return false;
    if (!to.WriteData(chunk, got))
      return false;
    length -= got;
  }
  return true;
}

} // namespace

FolderItemImp::FolderItemImp(const string &) {}
FolderItemImp::FolderItemImp(const FolderItemImp &other) { *this = other; }
FolderItemImp::~FolderItemImp() = default;
FolderItemImp &FolderItemImp::operator=(const FolderItemImp &) { return *this; }
FolderItemImp *FolderItemImp::Clone() const { return new FolderItemImp; }
bool FolderItemImp::Exists() { return false; }
bool FolderItemImp::IsAlias() { return false; }
bool FolderItemImp::IsDirectory() { return false; }
bool FolderItemImp::IsVirtual() { return false; }
bool FolderItemImp::IsTrashFolder() { return false; }
string FolderItemImp::GetName() { return EmptyASCII(); }
bool FolderItemImp::SetName(const string &) { return false; }
string FolderItemImp::GetAbsolutePath() { return GetName(); }
string FolderItemImp::GetDisplayName() { return GetName(); }
bool FolderItemImp::SetDisplayName(const string &name) { return SetName(name); }
bool FolderItemImp::GetExtensionVisible() { return true; }
bool FolderItemImp::SetExtensionVisible(bool) { return false; }
bool FolderItemImp::GetVisible() { return true; }
bool FolderItemImp::SetVisible(bool) { return false; }
bool FolderItemImp::GetLocked() { return false; }
bool FolderItemImp::SetLocked(bool) { return false; }
string FolderItemImp::GetTypeString() { return EmptyASCII(); }
string FolderItemImp::GetSaveInfo(FolderItemImp *, eSaveInfoMode) { return EmptyASCII(); }
uint32_t FolderItemImp::GetFourCharType() { return kUnknownFourCharCode; }
bool FolderItemImp::SetFourCharType(uint32_t) { return false; }
uint32_t FolderItemImp::GetFourCharCreator() { return kUnknownFourCharCode; }
bool FolderItemImp::SetFourCharCreator(uint32_t) { return false; }
double FolderItemImp::GetCreationDate() { return 0.0; }
bool FolderItemImp::SetCreationDate(double) { return false; }
double FolderItemImp::GetModificationDate() { return GetCreationDate(); }
bool FolderItemImp::SetModificationDate(double) { return false; }
int32_t FolderItemImp::GetVRefNum() { return 0; }
int32_t FolderItemImp::GetDirID() { return 0; }
int32_t FolderItemImp::GetSelectedFilterIndex() { return -1; }
bool FolderItemImp::SetSelectedFilterIndex(int32_t) { return false; }
bool FolderItemImp::IsCurrentlyReadable() { return true; }

bool FolderItemImp::IsCurrentlyWriteable() {
  if (Exists() && !IsDirectory())
    return ByteRewriteSucceeds(*this);
  std::unique_ptr<FolderItemImp> folder(IsDirectory() ? Clone() : GetParent());
  return folder && ProbeFileCanBeCreated(*folder);
}

int64_t FolderItemImp::GetLength() { return 0; }
bool FolderItemImp::SetLength(int64_t) { return false; }
int64_t FolderItemImp::GetResourceForkLength() { return 0; }
RandomAccessMechanism *FolderItemImp::OpenFile(bool, bool) { return nullptr; }
int32_t FolderItemImp::OpenResourceFork() { return -1; }
FolderItemImp *FolderItemImp::GetParent() { return nullptr; }
FolderItemImp *FolderItemImp::GetSpecialFolder(uint32_t) { return nullptr; }
int32_t FolderItemImp::GetChildCount() { return 0; }
FolderItemImp *FolderItemImp::GetChildByIndex(int32_t, int32_t) { return nullptr; }
FolderItemImp *FolderItemImp::GetChildByName(const string &, int32_t) { return nullptr; }
FolderItemImp *FolderItemImp::ResolveAlias(int32_t) { return Clone(); }
void FolderItemImp::ShowOnDisk() {}
void FolderItemImp::MakeFileExecutable() {}
bool FolderItemImp::CreateFolder() { return false; }
RandomAccessMechanism *FolderItemImp::CreateFile(const string &) { return nullptr; }
bool FolderItemImp::DeleteFile() { return false; }

bool FolderItemImp::DeleteFolder() {
  // A link to a folder is deleted itself: the walk never leaves the tree
  // through one.
  if (IsAlias())
    return DeleteFile();
  if (!IsDirectory())
    return false;
  // Children are collected before any is deleted: deleting changes the
  // folder's order.
  SimpleVector<FolderItemImp *> children;
  const int32_t count = GetChildCount();
  for (int32_t i = 0; i < count; ++i)
    if (FolderItemImp *child = GetChildByIndex(i, 0))
      children.push_back(child);
  bool ok = true;
  for (int32_t i = 0; i < children.count(); ++i) {
    FolderItemImp *child = children[i];
    if (ok) {
      ok = child->IsDirectory() && !child->IsAlias() ? child->DeleteFolder() : child->DeleteFile();
      if (!ok)
        mLastError = child->mLastError;
    }
    delete child;
  }
  const bool removed = DeleteFile();
  return ok && removed;
}

bool FolderItemImp::CopyFileTo(FolderItemImp *destination) {
  if (!destination)
    return false;
  if (destination == this || destination->GetAbsolutePath().CompareWithCase(GetAbsolutePath()) == 0)
    return true;
  RandomAccessMechanism *source = OpenFile(true, false);
  if (!source)
    return false;
  std::unique_ptr<FolderItemImp> target(destination->IsDirectory()
                                            ? destination->GetChildByName(GetName(), 64)
                                            : destination->Clone());
  RandomAccessMechanism *copy = nullptr;
  if (target) {
    target->DeleteFile();
    copy = target->CreateFile(string());
  }
  const bool ok = copy && CopyBytes(*source, *copy, GetLength());
  Finish(source);
  Finish(copy);
  if (ok) {
    target->SetFourCharType(GetFourCharType());
    target->SetFourCharCreator(GetFourCharCreator());
  }
  return ok;
}

bool FolderItemImp::MoveFileTo(FolderItemImp *destination) {
  return CopyFileTo(destination) && DeleteFile();
}

bool FolderItemImp::Launch(bool) { return false; }
bool FolderItemImp::MoveToTrash() { return false; }
bool FolderItemImp::OpenAsStyledEditField(RuntimeObject *) { return false; }
RuntimeObject *FolderItemImp::OpenAsImage(eOpenPictureFormat) { return nullptr; }
RuntimeObject *FolderItemImp::OpenAsMovie() { return nullptr; }
RuntimeObject *FolderItemImp::OpenAsSound() { return nullptr; }
RuntimeObject *FolderItemImp::OpenAsJPEG() { return nullptr; }
bool FolderItemImp::SaveAsPicture(RuntimeObject *, ePictureFormat) { return false; }
bool FolderItemImp::SaveAsJPEG(RuntimeObject *) { return false; }
bool FolderItemImp::SaveAsStyledEditField(RuntimeObject *) { return false; }

bool FolderItemImp::IsSaveInfoString(const string &text) {
  static const unsigned char kMark[4] = {0x00, 0xF1, 0xD1, 0x73};
  return text.Length() >= 4 && std::memcmp(text.CString(), kMark, 4) == 0;
}

FolderItemImp *FolderItemImp::ConstructFromSaveInfoString(const string &, FolderItemImp *) {
  return nullptr;
}
