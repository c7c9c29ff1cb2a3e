// Small value entry points of compiled code: string references, number
// conversions, the nil-object raise and a few fixed answers.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

extern "C" {
stringStorage *RuntimeLockString(stringStorage *s); // nil ignored; answers s
void RuntimeUnlockString(stringStorage *s);
void RuntimeLockUnlockStrings(stringStorage *newString, stringStorage *oldString);
stringStorage *RuntimeAddString(stringStorage *a, stringStorage *b); // one new reference

// Truncation toward zero; NaN and values outside the 32-bit range give
// 0x80000000, as the processor's conversion does.
int32_t FPToInt(double value);
int32_t SingleToInt(float value);
double IntToFP(int32_t value);

// Raises NilObjectException; compiled code calls it before using nil.
void RuntimeNilObject();
// The project-object table is empty on this platform: always nil.
RuntimeObject *RuntimeProjectObject(int32_t index);
RuntimeObject *RuntimePictureReference(int32_t index);
// The code registered for the hook with the class definition named by the
// holder's second word or one of its superclasses, or 0.
void *RuntimeFindHookCode(const void *holder, const struct ObjectHook *hook);
int32_t RuntimeThreed(); // controls are drawn three-dimensional: always true
}
