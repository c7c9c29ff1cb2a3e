/* The constant 0xC35D is stored as the bytes 5D C3: the unwinder's scan from
 * the call before it stops there, short of the function's handler record. */
#include "CompiledCode.h"

void Work(void);

void Unlucky(void) {
  KIT_ENTER();
  Work();
  {
    volatile int32_t pattern = 0xC35D;
    (void)pattern;
  }
  KIT_CATCH_ALL();
  KIT_END();
}

void ImageEntry(void) { Unlucky(); }
