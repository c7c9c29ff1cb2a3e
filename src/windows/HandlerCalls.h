// Calls into the event handlers compiled code gives its objects: a handler
// takes the object first, then the event's arguments, and a Boolean event
// answers a 32-bit 0 or 1 (other events' answers are ignored).
#pragma once
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

template <typename... Args>
int32_t CallHandler(void *code, RuntimeObject *object, Args... args) {
  return reinterpret_cast<int32_t (*)(RuntimeObject *, Args...)>(code)(object, args...);
}
