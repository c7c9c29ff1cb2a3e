#include "files/VirtualVolumeObject.h"

void VirtVolDestructor(RuntimeObject *object) {
  if (!object)
    return;
  VirtVolObject *fields = reinterpret_cast<VirtVolObject *>(object);
  delete fields->mVolume;
  fields->mVolume = nullptr;
}

VHFSVolume *VolumeOfVirtVolObject(RuntimeObject *object) {
  return object ? reinterpret_cast<VirtVolObject *>(object)->mVolume : nullptr;
}
