// The VirtualVolume language object: the object header, then the volume it
// owns. Destroying the object deletes the volume, which stores its block map
// and closes its file.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/VHFSVolume.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct VirtVolObject {
  RuntimeObject header;
  VHFSVolume *mVolume; // owned; nil for an object without a volume
};
static_assert(sizeof(VirtVolObject) == 28);
static_assert(offsetof(VirtVolObject, mVolume) == 24);

// The destructor hook of the class: deletes the volume.
void VirtVolDestructor(RuntimeObject *object);
// The volume a VirtualVolume object holds; nil for nil.
VHFSVolume *VolumeOfVirtVolObject(RuntimeObject *object);

ObjectDefinition *VirtVolClass();

extern "C" {
RuntimeObject *VirtVolRootGetter(RuntimeObject *volumeObject, int32_t param);
}
