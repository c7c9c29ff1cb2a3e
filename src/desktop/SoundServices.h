// What the resource manager needs of the language's Sound class.
#pragma once
#include <cstdint>

#include "foundation/String.h"

struct RuntimeObject;

// Whether sounds can be played; the sound library is loaded on the first call.
bool HasSoundSupport();
// A new Sound object (one reference for the caller) whose player plays the
// sound file at the absolute path, read from the byte offset; nil when none
// can be made.
RuntimeObject *NewSoundForFile(const string &path, uint32_t offset);
