#include "runtime/startup/UpperAreaHooks.h"

namespace {

// Constant-initialised, so that the areas can fill it while the program's
// static objects are made.
constinit UpperAreaHooks sHooks{};

} // namespace

UpperAreaHooks &UpperAreaHooksToFill() { return sHooks; }
const UpperAreaHooks &GetUpperAreaHooks() { return sHooks; }
