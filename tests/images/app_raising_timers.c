/* Two repeating timers whose Action raises a RuntimeException (Message and
 * ErrorNumber 7) every 200 ms. The first exception that nobody catches shows
 * the final dialog and signals the shutdown; the others, raised while the
 * dialog is up, show nothing. Once the dialog is answered the loop ends and
 * RuntimeRun returns. Exit status 42 when both timers fired, 128 + 1 when not,
 * 128 + 2 when a class was missing. */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void intSetter(RuntimeObject *object, int32_t offset, int32_t value);
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);

enum { kErrorNumberOffset = 24, kMessageOffset = 28 };

static RuntimeObject *sTimers[2];
static int32_t sActions[2];

void RaisingAction(RuntimeObject *self) {
  RuntimeObject *exception = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sActions[self == sTimers[1]] += 1;
  KIT_TAKE_OBJECT(exception, RuntimeNewObject(RuntimeLookupClass(KIT_STRING("RuntimeException"))));
  stringSetter(exception, kMessageOffset, KIT_STRING("the clipboard went away"));
  intSetter(exception, kErrorNumberOffset, 7);
  RuntimeRaiseException(exception);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(exception);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ImageEntry(void) {
  int32_t i;
  RuntimeClass *appClass, *timerClass;
  RuntimeObject *app = 0;
  KIT_ENTER();
  RuntimeInit();
  appClass = RuntimeLookupClass(KIT_STRING("Application"));
  timerClass = SubclassOf(KIT_STRING("Timer"));
  if (!appClass || !timerClass || !HandleEvent(timerClass, "Action", (void *)RaisingAction))
    _exit(128 | KitFailedCheck(2, "the Application and Timer classes"));
  KIT_TAKE_OBJECT(app, RuntimeNewObject(appClass));
  AppAutoCloseSetter(app, 0, 0);
  RuntimeRegisterAppObject(app);
  for (i = 0; i < 2; ++i) {
    KIT_TAKE_OBJECT(sTimers[i], RuntimeNewObject(timerClass));
    timerPeriodSetter(sTimers[i], 0, 200);
    timerModeSetter(sTimers[i], 0, 2);
  }
  RuntimeRun();
  _exit(sActions[0] && sActions[1] ? 42 : 128 | KitFailedCheck(1, "both timers fired"));
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}
