/* Exceptions that no compiled frame can take, under the real loader and
 * unwinder: each goes to the unhandled path, the raise returns to its caller
 * and the program goes on. Reports through the exit status: 42 when every
 * check held, otherwise 128 plus one bit per failed check (1, 2 in the order
 * of the checks in ImageEntry), each failed check also named on standard
 * error. */
#include "CompiledCode.h"
#include "plain_objects.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);
KIT_LIBRARY_FUNCTION(g_timeout_add, "libglib-2.0.so.0");
uint32_t g_timeout_add(uint32_t interval, int32_t (*function)(void *data), void *data);
KIT_LIBRARY_FUNCTION(g_main_context_iteration, "libglib-2.0.so.0");
int32_t g_main_context_iteration(void *context, int32_t mayBlock);

static int32_t sTimeoutRuns;
static int32_t sTimeoutCleanUps;

int32_t RaiseInFrameOverFourKilobytes(void) {
  int32_t ok = 0, continued = 0;
  volatile char scratch[5000] __attribute__((unused));
  RuntimeObject *exception = 0, *error = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(exception, NewPlainObject());
  KIT_TRY(error) {
    RuntimeRaiseException(exception);
    continued = 1;
  }
  KIT_CATCH(error) {}
  KIT_END_TRY();
  ok = continued && !error && !kitCaught && exception->refCount == 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_RELEASE_OBJECT(exception);
  KIT_END();
  return ok;
}

/* A compiled handler of a timer's timeout. */
int32_t RaiseFromTimeout(void *data) {
  int32_t keepTimeout = 0;
  RuntimeObject *exception = 0;
  KIT_ENTER();
  sTimeoutRuns += 1;
  KIT_TAKE_OBJECT(exception, NewPlainObject());
  RuntimeRaiseException(exception);
  KIT_CATCH_ALL();
  sTimeoutCleanUps += 1;
  KIT_RELEASE_OBJECT(exception);
  KIT_END();
  return keepTimeout;
}

void ImageEntry(void) {
  int32_t failed = 0;
  if (!RaiseInFrameOverFourKilobytes())
    failed |= KitFailedCheck(1, "a raise in a function whose frame is larger than 4096 bytes "
                                "does not reach the function's own handlers");
  g_timeout_add(1, RaiseFromTimeout, 0);
  while (!sTimeoutRuns)
    g_main_context_iteration(0, 1);
  if (sTimeoutRuns != 1 || sTimeoutCleanUps != 1)
    failed |= KitFailedCheck(2, "a raise in a handler that a main-loop timeout called (library "
                                "frames below it) passes its catch-all and clean-up and "
                                "returns to the main loop");
  _exit(failed ? 128 | failed : 42);
}
