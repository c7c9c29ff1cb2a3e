/* Defines what handlers.c calls: linked together, the calls are resolved
 * across the two objects. */
#include "CompiledCode.h"

void Work(RuntimeObject *object) {
  RuntimeLockObject(object);
  RuntimeUnlockObject(object);
}
