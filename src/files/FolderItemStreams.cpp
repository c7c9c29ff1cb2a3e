// The FolderItem members that open an item's file as a stream: text in and
// out, binary, and the resource forks this platform does not have. A locked
// item (it exists and may not be written) is never created or appended to.
#include "files/FileStreamObjects.h"
#include "files/FolderItemClass.h"

namespace {

// The item's implementation; its absence is a failed check, after which the
// member answers nil.
FolderItemImp *RequiredImp(RuntimeObject *object) {
  FolderItemImp *imp = FolderItemGetImp(object);
  if (!imp)
    ShowAlert(kEntryImpAlert);
  return imp;
}

// The implementation of an item that may be written; nil for a locked one.
FolderItemImp *WritableImp(RuntimeObject *object) {
  FolderItemImp *imp = RequiredImp(object);
  return imp && !imp->GetLocked() ? imp : nullptr;
}

} // namespace

extern "C" {

RuntimeObject *FolderItemOpenTextFile(RuntimeObject *object) {
  FolderItemImp *imp = RequiredImp(object);
  RandomAccessMechanism *file = imp ? imp->OpenFile(true, false) : nullptr;
  return file ? NewTextInputStream(file) : nullptr;
}

RuntimeObject *FolderItemCreateTextFile(RuntimeObject *object) {
  FolderItemImp *imp = WritableImp(object);
  RandomAccessMechanism *file = imp ? imp->CreateFile(string("text")) : nullptr;
  return file ? NewTextOutputStream(file) : nullptr;
}

RuntimeObject *FolderItemAppendTextFile(RuntimeObject *object) {
  FolderItemImp *imp = WritableImp(object);
  if (!imp)
    return nullptr;
  RandomAccessMechanism *file = imp->OpenFile(true, true);
  if (!file)
    return FolderItemCreateTextFile(object);
  file->SeekFromStart(file->GetLength());
  return NewTextOutputStream(file);
}

RuntimeObject *FolderItemOpenBinaryFile(RuntimeObject *object, int32_t readWrite) {
  FolderItemImp *imp = RequiredImp(object);
  RandomAccessMechanism *file = imp ? imp->OpenFile(true, readWrite != 0) : nullptr;
  return file ? NewBinaryStream(file) : nullptr;
}

RuntimeObject *FolderItemCreateBinaryFile(RuntimeObject *object, stringStorage *type) {
  FolderItemImp *imp = WritableImp(object);
  RandomAccessMechanism *file = imp ? imp->CreateFile(string::Borrow(type)) : nullptr;
  return file ? NewBinaryStream(file) : nullptr;
}

RuntimeObject *folderOpenResourceFork(RuntimeObject *) { return nullptr; }
RuntimeObject *folderCreateResourceFork(RuntimeObject *, stringStorage *) { return nullptr; }

} // extern "C"
