// The Keyboard object of the language: the modifier keys of the last key
// press, the keys held now, and the names of key codes.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// The modifier bits of the last-key-press mask.
constexpr int32_t kCommandKeyMask = 256;
constexpr int32_t kShiftKeyMask = 512;
constexpr int32_t kOptionKeyMask = 2048;
constexpr int32_t kControlKeyMask = 4096;

ObjectDefinition *KeyboardClass();
// The name of a classic virtual key code, or "key" and eight hexadecimal
// digits for a code without a name.
string KeyNameFor(int32_t code);

extern "C" {
RuntimeObject *getKeyboardObject();
int32_t modifierKeyGetter(RuntimeObject *keyboard, int32_t mask);
int32_t asyncModifierKeyGetter(RuntimeObject *keyboard, int32_t mask);
int32_t keyboardAsyncKeyDown(RuntimeObject *keyboard, int32_t keyCode);
stringStorage *keyboardKeyName(RuntimeObject *keyboard, int32_t keyCode);
}
