// Streams over files inside a virtual volume keep the language object that
// owns the volume alive while they are open. The object model lies above this
// library, so the references are taken through these two calls, which the
// files area defines.
#pragma once

struct RuntimeObject;

// Both leave nil alone.
void RetainVolumeObject(RuntimeObject *volumeObject);
void ReleaseVolumeObject(RuntimeObject *volumeObject);
