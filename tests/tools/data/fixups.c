/* One of each reference the image format relocates or imports. */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(cos, "libm.so.6");
double cos(double x);

void RuntimeBeep(void);
int32_t RuntimeTicks(void);

static int32_t sCounter = 7;

static int32_t Helper(int32_t x) { return x + sCounter; }

void *AddressOfHelper(void) { return (void *)Helper; }

void ImageEntry(void) {
  RuntimeBeep();
  RuntimeBeep();
  sCounter = RuntimeTicks() + Helper(1);
  RuntimeUnlockString(KIT_STRING("Hi"));
  void (*beep)(void) = RuntimeBeep;
  beep();
  (void)cos(0.5);
}
