/* Calls a runtime function the export table lacks. The loader reports the
 * missing name at load; the call then lands in a trap that reports it again
 * and answers 0. Exit status 5 when the trap answered 0, 6 (named on
 * standard error) otherwise. */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

int32_t LoaderTestMissingFunction(int32_t value);

void ImageEntry(void) {
  if (LoaderTestMissingFunction(7) == 0)
    _exit(5);
  _exit(KitFailedCheck(6, "the trap of an unbound import answers 0"));
}
