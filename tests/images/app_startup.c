/* Start-up as every image sees it: the runtime's classes found by name, a
 * plain Application registered for nil (AutoQuit on), the run loop ending
 * after its first step since no window is open, and a second RuntimeRun
 * returning at once. Reports through the exit status: 42 when every check
 * held, else 128 plus one bit per failed check:
 *   1  a class was not found by name
 *   2  the loop took more than one step (a loop that never ends hangs the test)
 *   4  the second RuntimeRun turned the loop again
 *   8  the plain Application did not quit automatically (App().AutoQuit) */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);
KIT_LIBRARY_FUNCTION(g_timeout_add, "libglib-2.0.so.0");
uint32_t g_timeout_add(uint32_t interval, int32_t (*function)(void *data), void *data);

RuntimeObject *getAppObject(void);
int32_t AppAutoCloseGetter(RuntimeObject *app, int32_t param);

static int32_t sWakeUps;

/* Wakes the blocking GTK+ iteration of each step that runs while it is due. */
int32_t WakeUp(void *data) {
  sWakeUps += 1;
  return 1;
}

void ImageEntry(void) {
  int32_t failed = 0, wakeUpsAfterFirstRun;
  RuntimeObject *app = 0;
  KIT_ENTER();
  RuntimeInit();
  if (!RuntimeLookupClass(KIT_STRING("NilObjectException")) ||
      !RuntimeLookupClass(KIT_STRING("Application")) || !RuntimeLookupClass(KIT_STRING("Timer")) ||
      !RuntimeLookupClass(KIT_STRING("Readable")) || !RuntimeLookupClass(KIT_STRING("Writeable")))
    failed |= KitFailedCheck(1, "every class found by name");
  RuntimeRegisterAppObject(0);
  KIT_TAKE_OBJECT(app, getAppObject());
  if (!app || AppAutoCloseGetter(app, 0) != 1)
    failed |= KitFailedCheck(8, "a plain Application with AutoQuit on");
  g_timeout_add(1, WakeUp, 0);
  RuntimeRun();
  wakeUpsAfterFirstRun = sWakeUps;
  if (wakeUpsAfterFirstRun > 1)
    failed |= KitFailedCheck(2, "the loop ends after its first step");
  RuntimeRun();
  if (sWakeUps != wakeUpsAfterFirstRun)
    failed |= KitFailedCheck(4, "a second RuntimeRun returns at once");
  _exit(failed ? 128 | failed : 42);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}
