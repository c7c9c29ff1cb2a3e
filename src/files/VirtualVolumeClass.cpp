// The VirtualVolume class: a whole file system inside one file, made or
// opened through a FolderItem, whose Root is a FolderItem inside it. Volume
// files are always big-endian, doubles included.
#include <iterator>

#include "files/FileStreamObjects.h"
#include "files/FolderItemClass.h"
#include "files/FolderItemImpVirtual.h"
#include "files/VirtualVolumeObject.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"

namespace {

// clang-format off
ObjectInstanceTemplate VirtVolProperties[] = {
    {5, "Root", nullptr, ACCESSOR(VirtVolRootGetter), NO_ACCESSOR, 0, 0},
};
// clang-format on

void MakeBigEndian(RandomAccessMechanism *file) {
  file->SetBigEndian();
  file->mSwapDoubles = 1;
}

// A VirtualVolume object holding a valid volume; otherwise the volume (and
// with it the file) is deleted and the answer is nil.
RuntimeObject *HoldVolume(VHFSVolume *volume) {
  if (!volume)
    return nullptr;
  RuntimeObject *object = volume->IsValid() ? CreateInstance(VirtVolClass()) : nullptr;
  if (!object) {
    delete volume;
    return nullptr;
  }
  reinterpret_cast<VirtVolObject *>(object)->mVolume = volume;
  return object;
}

} // namespace

ObjectDefinition *VirtVolClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("VirtualVolume"); // first: FolderItem's builder names this class
  VirtVolProperties[0].type = FolderItemClass()->AsType();
  defn.objectSize = sizeof(VirtVolObject);
  defn.destructor = VirtVolDestructor;
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.SetPropertyListHead(FillInstances(VirtVolProperties, std::size(VirtVolProperties)));
  return &defn;
}

extern "C" {

RuntimeObject *FolderItemCreateVirtualVolume(RuntimeObject *object) {
  FolderItemImp *imp = FolderItemGetImp(object);
  if (!imp || imp->GetLocked())
    return nullptr;
  RandomAccessMechanism *file = imp->CreateFile(imp->GetTypeString());
  if (!file)
    return nullptr;
  MakeBigEndian(file);
  VHFSVolume *volume = VHFSVolume::Create(file, true);
  if (!volume)
    delete file;
  // A volume whose first writes failed (a full disk) is refused: deleting it
  // closes the file.
  return HoldVolume(volume);
}

RuntimeObject *FolderItemOpenAsVirtualVolume(RuntimeObject *object) {
  FolderItemImp *imp = FolderItemGetImp(object);
  RandomAccessMechanism *file = imp ? imp->OpenFile(true, true) : nullptr;
  if (!file)
    return nullptr;
  MakeBigEndian(file);
  return HoldVolume(new VHFSVolume(file, true));
}

RuntimeObject *VirtVolRootGetter(RuntimeObject *volumeObject, int32_t) {
  VHFSVolume *volume = VolumeOfVirtVolObject(volumeObject);
  if (!volume)
    return nullptr;
  return NewFolderItemWithImp(new FolderItemImpVirtual(volumeObject, volume->GetRoot()));
}

RuntimeObject *folderVirtVolGetter(RuntimeObject *object, int32_t) {
  FolderItemImp *imp = FolderItemGetImp(object);
  if (!imp || !imp->IsVirtual())
    return nullptr;
  RuntimeObject *volumeObject = static_cast<FolderItemImpVirtual *>(imp)->VolumeObject();
  RuntimeLockObject(volumeObject);
  return volumeObject;
}

} // extern "C"
