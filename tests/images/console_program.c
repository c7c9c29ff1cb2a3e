/* A console program as it runs where there is no display: a ConsoleApplication
 * registered for nil, then a Timer whose Action calls DoEvents 10,000 times
 * with 0 and three times with the ConsoleApplication's default of 10, first
 * with no other source, then beside a 500 ms timer. Print, Input and Beep are
 * called on the way and stay inert. Reports through the exit status: 42 when
 * every check held, else 128 plus one bit per failed check (a DoEvents that
 * waits for an event that never comes hangs the test instead):
 *   1  the ConsoleApplication and Timer classes and the Action event
 *   2  each Action ran its calls to the end
 *   4  the calls did not wait for the slow timer (it fired far less often
 *      than once per call) */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void RuntimeRegisterConsoleAppObject(RuntimeObject *app, int32_t service);
void RuntimeDoEvents(RuntimeObject *app, int32_t milliseconds);
void RuntimeConsolePrint(stringStorage *message);
stringStorage *RuntimeConsoleInput(void);
void RuntimeBeep(void);

#define CALLS 10000

static RuntimeObject *sApp;
static int32_t sCalls, sActionsDone, sSlowFired;

void ManyDoEvents(RuntimeObject *self) {
  int32_t i;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  for (sCalls = 0; sCalls < CALLS; ++sCalls)
    RuntimeDoEvents(sApp, 0);
  for (i = 0; i < 3; ++i)
    RuntimeDoEvents(sApp, 10);
  sActionsDone += 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void SlowAction(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sSlowFired += 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* A Timer subclass handling Action with the handler, running in the mode. */
static RuntimeObject *NewTimer(void *handler, int32_t period, int32_t mode) {
  RuntimeClass *timerClass = SubclassOf(KIT_STRING("Timer"));
  RuntimeObject *timer;
  if (!timerClass || !HandleEvent(timerClass, "Action", handler))
    return 0;
  timer = RuntimeNewObject(timerClass);
  timerPeriodSetter(timer, 0, period);
  timerModeSetter(timer, 0, mode);
  return timer;
}

/* One Action of 10,000 calls, run by the program's own DoEvents loop. */
static int32_t RunOneAction(void) {
  RuntimeObject *timer = 0;
  int32_t done = sActionsDone;
  KIT_ENTER();
  KIT_TAKE_OBJECT(timer, NewTimer((void *)ManyDoEvents, 1, 1));
  if (!timer)
    KIT_LEAVE();
  while (sActionsDone == done)
    RuntimeDoEvents(sApp, 0);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(timer);
  KIT_END();
  return sActionsDone != done;
}

void ImageEntry(void) {
  int32_t failed = 0;
  RuntimeClass *consoleClass, *timerClass;
  RuntimeObject *slow = 0;
  stringStorage *input = 0;
  KIT_ENTER();
  RuntimeInit();
  RuntimeRegisterConsoleAppObject(0, 0);
  consoleClass = RuntimeLookupClass(KIT_STRING("ConsoleApplication"));
  timerClass = SubclassOf(KIT_STRING("Timer"));
  if (!consoleClass || !timerClass || !HandleEvent(timerClass, "Action", (void *)SlowAction))
    _exit(128 | KitFailedCheck(1, "the ConsoleApplication and Timer classes"));
  /* The program's own object, as `app` in its DoEvents calls. */
  KIT_TAKE_OBJECT(sApp, RuntimeNewObject(consoleClass));
  RuntimeConsolePrint(KIT_STRING("printed to a pipe nobody reads"));
  KIT_TAKE_STRING(input, RuntimeConsoleInput());
  RuntimeBeep();
  if (!RunOneAction())
    failed |= KitFailedCheck(2, "the Action with no other source");
  KIT_TAKE_OBJECT(slow, NewTimer((void *)SlowAction, 500, 2));
  if (!slow || !RunOneAction())
    failed |= KitFailedCheck(2, "the Action beside a 500 ms timer");
  if (sSlowFired >= CALLS / 10)
    failed |= KitFailedCheck(4, "the calls did not wait for the slow timer");
  _exit(failed ? 128 | failed : 42);
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(input);
  KIT_RELEASE_OBJECT(slow);
  KIT_RELEASE_OBJECT(sApp);
  KIT_END();
}
