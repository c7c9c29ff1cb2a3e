// Speak: the value's text is made (so a value without one raises
// TypeMismatchException, as anywhere a text is asked of it), and nothing is
// spoken: this platform has no speech synthesiser.
#include "desktop/KeyChainRegistryClasses.h"
#include "language/Variant.h"
#include "runtime/objects/ValueEntryPoints.h"

extern "C" void RuntimeSpeak(RuntimeObject *value, int32_t) {
  RuntimeUnlockString(variantToString(value));
}
