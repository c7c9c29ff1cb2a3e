#include "recursion.h"

#include "CompiledCode.h"

int32_t gRecursionDepth;

void Recurse(void) {
  KIT_ENTER();
  gRecursionDepth += 1;
  if (gRecursionDepth > 0) /* always: only the stack check ends the recursion */
    Recurse();
  KIT_CATCH_ALL();
  KIT_END();
}
