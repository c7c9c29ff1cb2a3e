/* Cooperative threads driven by compiled Run handlers. Reports through the
 * exit status: 42 when every check held, else 128 plus one bit per failed
 * check (each also named on standard error):
 *   1  two looping threads and a 100 ms Timer all made progress together
 *   2  raising and catching inside each thread never handed one thread's
 *      exception to the other
 *   4  an empty Run finished at once: ThreadID 0 afterwards
 *   8  StackSize 0 and -5 read 16384
 *  16  setting StackSize in a running thread raised
 *      ThreadAlreadyRunningException, caught in its Run
 *  32  deep recursion in a thread is caught as StackOverflowException in its
 *      Run, deeper with a larger StackSize
 *  64  the classes were found */
#include "class_names.h"
#include "plain_objects.h"
#include "recursion.h"
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

/* Thread's members, reached through its class as compiled code reaches them. */
static void (*threadRun)(RuntimeObject *thread);
static int32_t (*ThreadGetStackSize)(RuntimeObject *thread, int32_t param);
static void (*ThreadSetStackSize)(RuntimeObject *thread, int32_t param, int32_t size);
static int32_t (*ThreadGetID)(RuntimeObject *thread, int32_t param);
void RuntimeDoEvents(RuntimeObject *app, int32_t milliseconds);
void RuntimeBackgroundTask(void);

static int32_t sStop, sCounts[2], sCaughtOwn[2], sCrossed, sAlreadyRunning;
static int32_t sActions, sProgressTogether, sEmptyRuns;
static int32_t sUnreached, sOverflowDepth[2], sOverflowCaught[2], sOverflowIndex;

static void LoopBody(RuntimeObject *self, int32_t index) {
  RuntimeObject *mine = 0, *error = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(mine, NewPlainObject());
  KIT_TRY(error) {
    ThreadSetStackSize(self, 0, 50000);
    sUnreached += 1;
  }
  KIT_CATCH(error) {
    if (ClassNameIs(error, "ThreadAlreadyRunningException"))
      sAlreadyRunning += 1;
  }
  KIT_END_TRY();
  while (!sStop) {
    sCounts[index] += 1;
    KIT_TRY(error) {
      RuntimeRaiseException(mine);
      sUnreached += 1;
    }
    KIT_CATCH(error) {
      if (error == mine)
        sCaughtOwn[index] += 1;
      else
        sCrossed += 1;
    }
    KIT_END_TRY();
    RuntimeBackgroundTask();
  }
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_RELEASE_OBJECT(mine);
  KIT_END();
}

void LoopRunA(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  LoopBody(self, 0);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void LoopRunB(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  LoopBody(self, 1);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void EmptyRun(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sEmptyRuns += 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void OverflowRun(RuntimeObject *self) {
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  gRecursionDepth = 0;
  KIT_TRY(error) {
    Recurse();
    sUnreached += 1;
  }
  KIT_CATCH(error) {
    sOverflowCaught[sOverflowIndex] = ClassNameIs(error, "stackOverflowException");
    sOverflowDepth[sOverflowIndex] = gRecursionDepth;
  }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void TimerAction(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sActions += 1;
  if (sActions == 3)
    sProgressTogether = sCounts[0] > 0 && sCounts[1] > 0 && !sStop;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

static RuntimeClass *ThreadHandling(void *run) {
  RuntimeClass *cls = SubclassOf(KIT_STRING("Thread"));
  return cls && HandleEvent(cls, "Run", run) ? cls : 0;
}

void ImageEntry(void) {
  int32_t failed = 0, rounds = 0;
  RuntimeClass *loopA, *loopB, *empty, *overflow, *timerClass;
  RuntimeObject *a = 0, *b = 0, *timer = 0, *t = 0;
  KIT_ENTER();
  RuntimeInit();
  loopA = ThreadHandling((void *)LoopRunA);
  loopB = ThreadHandling((void *)LoopRunB);
  empty = ThreadHandling((void *)EmptyRun);
  overflow = ThreadHandling((void *)OverflowRun);
  timerClass = SubclassOf(KIT_STRING("Timer"));
  if (loopA) {
    PropertyEntry *stackSize = PropertyNamed(loopA, "StackSize%i"),
                  *id = PropertyNamed(loopA, "ThreadID%i");
    threadRun = (void (*)(RuntimeObject *))MethodCode(loopA, "Run%%o<Thread>");
    ThreadGetStackSize = stackSize ? (int32_t (*)(RuntimeObject *, int32_t))stackSize->getter : 0;
    ThreadSetStackSize =
        stackSize ? (void (*)(RuntimeObject *, int32_t, int32_t))stackSize->setter : 0;
    ThreadGetID = id ? (int32_t (*)(RuntimeObject *, int32_t))id->getter : 0;
  }
  if (!threadRun || !ThreadGetStackSize || !ThreadSetStackSize || !ThreadGetID || !loopA || !loopB || !empty || !overflow || !timerClass ||
      !HandleEvent(timerClass, "Action", (void *)TimerAction))
    _exit(128 | KitFailedCheck(64, "the Thread and Timer classes and their events"));

  /* Two looping threads and a Timer. */
  KIT_TAKE_OBJECT(a, RuntimeNewObject(loopA));
  KIT_TAKE_OBJECT(b, RuntimeNewObject(loopB));
  KIT_TAKE_OBJECT(timer, RuntimeNewObject(timerClass));
  timerPeriodSetter(timer, 0, 100);
  timerModeSetter(timer, 0, 2);
  threadRun(a);
  threadRun(b);
  while (sActions < 3 && ++rounds < 3000)
    RuntimeDoEvents(0, 10);
  timerModeSetter(timer, 0, 0);
  sStop = 1;
  while ((ThreadGetID(a, 0) || ThreadGetID(b, 0)) && ++rounds < 6000)
    RuntimeDoEvents(0, 10);
  if (!sProgressTogether || ThreadGetID(a, 0) || ThreadGetID(b, 0))
    failed |= KitFailedCheck(1, "two threads and a Timer make progress together");
  if (sCrossed || sCaughtOwn[0] != sCounts[0] || sCaughtOwn[1] != sCounts[1])
    failed |= KitFailedCheck(2, "each thread catches only its own exceptions");
  if (sAlreadyRunning != 2 || sUnreached)
    failed |= KitFailedCheck(16, "StackSize set while running raises, caught in Run");

  /* An empty Run. */
  KIT_TAKE_OBJECT(t, RuntimeNewObject(empty));
  threadRun(t);
  if (sEmptyRuns != 1 || ThreadGetID(t, 0) != 0)
    failed |= KitFailedCheck(4, "an empty Run finishes at once and ThreadID reads 0");
  ThreadSetStackSize(t, 0, 0);
  if (ThreadGetStackSize(t, 0) != 16384)
    failed |= KitFailedCheck(8, "StackSize 0 reads 16384");
  ThreadSetStackSize(t, 0, -5);
  if (ThreadGetStackSize(t, 0) != 16384)
    failed |= KitFailedCheck(8, "StackSize -5 reads 16384");

  /* Stack overflows in threads of two sizes. */
  KIT_TAKE_OBJECT(t, RuntimeNewObject(overflow));
  sOverflowIndex = 0;
  threadRun(t);
  KIT_TAKE_OBJECT(t, RuntimeNewObject(overflow));
  ThreadSetStackSize(t, 0, 65536);
  sOverflowIndex = 1;
  threadRun(t);
  if (!sOverflowCaught[0] || !sOverflowCaught[1] || sOverflowDepth[0] < 10 ||
      sOverflowDepth[1] <= sOverflowDepth[0] * 2)
    failed |= KitFailedCheck(32, "a stack overflow is caught in its thread's Run, deeper with a "
                                 "larger StackSize");
  _exit(failed ? 128 | failed : 42);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(t);
  KIT_RELEASE_OBJECT(timer);
  KIT_RELEASE_OBJECT(b);
  KIT_RELEASE_OBJECT(a);
  KIT_END();
}
