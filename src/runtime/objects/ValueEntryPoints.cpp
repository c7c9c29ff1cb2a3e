#include "runtime/objects/ValueEntryPoints.h"

#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ObjectDefinition.h"

namespace {

// The x86 conversion's answer for NaN and for values outside the 32-bit
// range (the "integer indefinite" value); in C++ such a conversion is undefined.
constexpr int32_t kIntegerIndefinite = INT32_MIN;

int32_t TruncateToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0))
    return kIntegerIndefinite;
  return static_cast<int32_t>(value);
}

} // namespace

extern "C" {

stringStorage *RuntimeLockString(stringStorage *s) {
  stringStorage::AddReference(s);
  return s;
}

void RuntimeUnlockString(stringStorage *s) { stringStorage::RemoveReference(s); }

void RuntimeLockUnlockStrings(stringStorage *newString, stringStorage *oldString) {
  if (newString == oldString)
    return;
  stringStorage::AddReference(newString);
  stringStorage::RemoveReference(oldString);
}

stringStorage *RuntimeAddString(stringStorage *a, stringStorage *b) {
  return (string::Borrow(a) + string::Borrow(b)).ExtractStringStorage();
}

int32_t FPToInt(double value) { return TruncateToInt(value); }
int32_t SingleToInt(float value) { return TruncateToInt(value); }
double IntToFP(int32_t value) { return value; }

void RuntimeNilObject() { RaiseNilObjectException(); }

// Nothing fills the project-object table on this platform.
RuntimeObject *RuntimeProjectObject(int32_t) { return nullptr; }
RuntimeObject *RuntimePictureReference(int32_t index) { return RuntimeProjectObject(index); }

void *RuntimeFindHookCode(const void *holder, const ObjectHook *hook) {
  if (!holder || !hook)
    return nullptr;
  const ObjectDefinition *defn = static_cast<const ObjectDefinition *const *>(holder)[1];
  const ObjectHookInstance *handler = defn ? defn->FindHookInstance(hook->name) : nullptr;
  return handler ? handler->code : nullptr;
}

int32_t RuntimeThreed() { return 1; }

} // extern "C"
