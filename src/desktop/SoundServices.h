// What the resource manager needs of the language's Sound class.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/application/ApplicationClass.h"

struct RuntimeObject;

// Whether sounds can be played; the sound library is loaded on the first call.
bool HasSoundSupport();
// NewSoundForFile, which folder items share, is declared with the runtime's
// application services.
