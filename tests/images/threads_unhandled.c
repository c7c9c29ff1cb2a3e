/* A stack overflow that no handler in its thread takes: the recursion in the
 * thread's Run is unwound, the Application's UnhandledException event sees
 * the StackOverflowException, then the final dialog shows (answered by the
 * test), and the thread ends without a fault. Reports through the exit
 * status: 42 when every check held, else 128 plus one bit per failed check
 * (each also named on standard error):
 *   1  UnhandledException saw one StackOverflowException, from the thread
 *   2  the thread finished: ThreadID reads 0
 *   4  the classes were found */
#include "class_names.h"
#include "recursion.h"
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void RuntimeDoEvents(RuntimeObject *app, int32_t milliseconds);
void RuntimeRegisterAppObject(RuntimeObject *app);

static int32_t (*ThreadGetID)(RuntimeObject *thread, int32_t param);
static int32_t sOverflows, sOthers;
static RuntimeObject *sThread;

void OverflowingRun(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  Recurse();
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

int32_t AppUnhandledException(RuntimeObject *app, RuntimeObject *error) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(app);
  /* Still inside the thread: its record lives until Run returns. */
  if (ClassNameIs(error, "stackOverflowException") && ThreadGetID(sThread, 0))
    sOverflows += 1;
  else
    sOthers += 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(app);
  KIT_END();
  return 0; /* not handled: the final dialog follows */
}

void ImageEntry(void) {
  int32_t failed = 0, rounds = 0;
  RuntimeClass *appClass, *threadClass;
  RuntimeObject *app = 0;
  KIT_ENTER();
  RuntimeInit();
  appClass = SubclassOf(KIT_STRING("Application"));
  threadClass = SubclassOf(KIT_STRING("Thread"));
  if (appClass && threadClass) {
    PropertyEntry *id = PropertyNamed(threadClass, "ThreadID%i");
    ThreadGetID = id ? (int32_t (*)(RuntimeObject *, int32_t))id->getter : 0;
  }
  if (!appClass || !threadClass || !ThreadGetID ||
      !HandleEvent(appClass, "UnhandledException", (void *)AppUnhandledException) ||
      !HandleEvent(threadClass, "Run", (void *)OverflowingRun))
    _exit(128 | KitFailedCheck(4, "the Application and Thread classes and their events"));
  KIT_TAKE_OBJECT(app, RuntimeNewObject(appClass));
  RuntimeRegisterAppObject(app);
  KIT_TAKE_OBJECT(sThread, RuntimeNewObject(threadClass));
  ((void (*)(RuntimeObject *))MethodCode(threadClass, "Run%%o<Thread>"))(sThread);
  while (ThreadGetID(sThread, 0) && ++rounds < 3000)
    RuntimeDoEvents(0, 10);
  if (sOverflows != 1 || sOthers != 0)
    failed |= KitFailedCheck(1, "UnhandledException saw the thread's stack overflow once");
  if (ThreadGetID(sThread, 0))
    failed |= KitFailedCheck(2, "the thread finished");
  _exit(failed ? 128 | failed : 42);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(sThread);
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}
