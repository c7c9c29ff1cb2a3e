/* A thread whose Run raises a RuntimeException that nobody handles, started
 * by a Timer's Action while the main stack turns the run loop in RuntimeRun.
 * The final dialog shows (answered by the test) and the program ends once it
 * is answered: RuntimeRun returns. Reports through the exit status: 42 when
 * every check held, else 128 plus one bit per failed check:
 *   1  the Application, Timer and Thread classes and their events
 *   2  the thread's Run started
 *   4  the thread finished: ThreadID reads 0 */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

static int32_t (*ThreadGetID)(RuntimeObject *thread, int32_t param);
static void (*ThreadRun)(RuntimeObject *thread);
static RuntimeClass *sThreadClass;
static RuntimeObject *sThread, *sTimer;
static int32_t sRuns;

void RaisingRun(RuntimeObject *self) {
  RuntimeObject *exception = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sRuns += 1;
  KIT_TAKE_OBJECT(exception, RuntimeNewObject(RuntimeLookupClass(KIT_STRING("RuntimeException"))));
  RuntimeRaiseException(exception);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(exception);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void StartThread(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(sThread, RuntimeNewObject(sThreadClass));
  ThreadRun(sThread);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ImageEntry(void) {
  int32_t failed = 0;
  RuntimeClass *appClass, *timerClass;
  PropertyEntry *id;
  RuntimeObject *app = 0;
  KIT_ENTER();
  RuntimeInit();
  appClass = RuntimeLookupClass(KIT_STRING("Application"));
  timerClass = SubclassOf(KIT_STRING("Timer"));
  sThreadClass = SubclassOf(KIT_STRING("Thread"));
  if (sThreadClass) {
    id = PropertyNamed(sThreadClass, "ThreadID%i");
    ThreadGetID = id ? (int32_t (*)(RuntimeObject *, int32_t))id->getter : 0;
    ThreadRun = (void (*)(RuntimeObject *))MethodCode(sThreadClass, "Run%%o<Thread>");
  }
  if (!appClass || !timerClass || !HandleEvent(timerClass, "Action", (void *)StartThread) ||
      !sThreadClass || !ThreadGetID || !ThreadRun ||
      !HandleEvent(sThreadClass, "Run", (void *)RaisingRun))
    _exit(128 | KitFailedCheck(1, "the Application, Timer and Thread classes and their events"));
  KIT_TAKE_OBJECT(app, RuntimeNewObject(appClass));
  AppAutoCloseSetter(app, 0, 0);
  RuntimeRegisterAppObject(app);
  KIT_TAKE_OBJECT(sTimer, RuntimeNewObject(timerClass));
  timerPeriodSetter(sTimer, 0, 10);
  timerModeSetter(sTimer, 0, 1);
  RuntimeRun();
  if (sRuns != 1)
    failed |= KitFailedCheck(2, "the thread's Run started");
  if (!sThread || ThreadGetID(sThread, 0))
    failed |= KitFailedCheck(4, "the thread finished");
  _exit(failed ? 128 | failed : 42);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}
