// The generic field accessors that most built-in properties use: the index
// argument is the field's byte offset inside the object. None checks its
// object or offset; compiled code calls them for every property access.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

extern "C" {
int32_t intGetter(RuntimeObject *object, int32_t offset);
void intSetter(RuntimeObject *object, int32_t offset, int32_t value);
int32_t shortGetter(RuntimeObject *object, int32_t offset); // sign-extended
void shortSetter(RuntimeObject *object, int32_t offset, int32_t value);
int32_t boolGetter(RuntimeObject *object, int32_t offset);             // the byte, sign-extended
void boolSetter(RuntimeObject *object, int32_t offset, int32_t value); // the low byte
float singleGetter(RuntimeObject *object, int32_t offset);
void singleSetter(RuntimeObject *object, int32_t offset, float value);
double doubleGetter(RuntimeObject *object, int32_t offset);
void doubleSetter(RuntimeObject *object, int32_t offset, double value);
// Getters answer one new reference; setters retain the new value, then release the old.
stringStorage *stringGetter(RuntimeObject *object, int32_t offset);
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);
stringStorage *StringToSSGetter(RuntimeObject *object, int32_t offset); // a string member
void SSToStringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);
RuntimeObject *objGetter(RuntimeObject *object, int32_t offset);
void objSetter(RuntimeObject *object, int32_t offset, RuntimeObject *value);
}
