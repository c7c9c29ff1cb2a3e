// The references that streams inside a virtual volume hold on the volume's
// language object go through the object model's counting.
#include "foundation/VolumeObjectReferences.h"

#include "runtime/objects/RuntimeObject.h"

void RetainVolumeObject(RuntimeObject *volumeObject) { RuntimeLockObject(volumeObject); }
void ReleaseVolumeObject(RuntimeObject *volumeObject) { RuntimeUnlockObject(volumeObject); }
