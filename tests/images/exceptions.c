/* Exceptions through compiled frames, under the real loader and unwinder.
 * Reports through the exit status: 42 when every check held, otherwise 128
 * plus one bit per failed check (1, 2, 4, 8, 16 in the order of the checks in
 * ImageEntry), each failed check also named on standard error. */
#include "CompiledCode.h"
#include "class_names.h"
#include "plain_objects.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

static int32_t sUnreachedSteps;
static int32_t sDepth;
static int32_t sCleanUps;

int32_t RaiseInsideProtectedRegion(void) {
  int32_t ok = 0;
  RuntimeObject *exception = 0, *error = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(exception, NewPlainObject());
  KIT_TRY(error) {
    RuntimeRaiseException(exception);
    sUnreachedSteps += 1;
  }
  KIT_CATCH(error) { ok = error == exception && exception->refCount == 2; }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_RELEASE_OBJECT(exception);
  KIT_END();
  return ok;
}

/* Recurses until its stack check raises StackOverflowException (from
 * RuntimeStackCheck, through the runtime's raise of a class, to the raise
 * entry point); each frame's catch-all cleans up and passes it on. */
void RecurseUntilTheStackRunsOut(void) {
  KIT_ENTER();
  sDepth += 1;
  if (sDepth > 0) /* always: only the stack check ends the recursion */
    RecurseUntilTheStackRunsOut();
  sUnreachedSteps += 1;
  KIT_CATCH_ALL();
  sCleanUps += 1;
  KIT_END();
}

int32_t StackOverflowUnwindsEveryFrame(void) {
  int32_t ok = 0;
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_TRY(error) {
    RecurseUntilTheStackRunsOut();
    sUnreachedSteps += 1;
  }
  KIT_CATCH(error) {
    /* The deepest frame raised in its stack check, before counting itself. */
    ok = ClassNameIs(error, "stackOverflowException") && error->refCount == 1 && sDepth > 1000 &&
         sCleanUps == sDepth + 1;
  }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_END();
  return ok;
}

/* 1 when the inner handler caught, 2 when the outer one did, 3 for both. */
int32_t RaiseAroundNestedRegion(int32_t raiseInside) {
  int32_t caughtBy = 0;
  RuntimeObject *exception = 0, *outer = 0, *inner = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(exception, NewPlainObject());
  KIT_TRY(outer) {
    if (!raiseInside)
      RuntimeRaiseException(exception);
    KIT_TRY(inner) {
      if (raiseInside)
        RuntimeRaiseException(exception);
    }
    KIT_CATCH(inner) { caughtBy |= 1; }
    KIT_END_TRY();
  }
  KIT_CATCH(outer) { caughtBy |= 2; }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(inner);
  KIT_RELEASE_OBJECT(outer);
  KIT_RELEASE_OBJECT(exception);
  KIT_END();
  return caughtBy;
}

/* A handler record whose slot offset is 0: its handler takes no exception.
 * Without a note for imagelink, the offset stays 0. */
#define HANDLER_RECORD_WITHOUT_SLOT()                                                              \
  __asm__ volatile(".byte %c1\n\t"                                                                 \
                   ".long %c2\n\t"                                                                 \
                   ".long %c3\n\t"                                                                 \
                   ".short 0, 0\n\t"                                                               \
                   "%{disp32%} movl %0, %%esp"                                                     \
                   :                                                                               \
                   : "m"(kitFrameStack), "i"(IMAGE_NEAR_JUMP), "i"(IMAGE_HANDLER_JUMP_DISTANCE),   \
                     "i"(IMAGE_HANDLER_MARKER)                                                     \
                   : "memory")

int32_t HandlerWithoutSlot(void) {
  int32_t ok = 0, handled = 1;
  RuntimeObject *exception = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(exception, NewPlainObject());
  KIT_REGION_MARKER(IMAGE_REGION_START_MARKER);
  RuntimeRaiseException(exception);
  handled = 0;
  HANDLER_RECORD_WITHOUT_SLOT();
  KIT_REGION_MARKER(IMAGE_REGION_END_MARKER);
  ok = handled && exception->refCount == 1 && kitCaught == 0;
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(exception);
  KIT_END();
  return ok;
}

void ImageEntry(void) {
  int32_t failed = 0;
  if (!RaiseInsideProtectedRegion())
    failed |= KitFailedCheck(1, "a raise inside a protected region resumes in its handler, "
                                "with the exception in its variable and one more reference");
  if (!StackOverflowUnwindsEveryFrame())
    failed |=
        KitFailedCheck(2, "a stack overflow deep in a recursion travels up through every "
                          "frame's catch-all and clean-up to the protected region at the top");
  if (RaiseAroundNestedRegion(0) != 2 || RaiseAroundNestedRegion(1) != 1)
    failed |= KitFailedCheck(4, "a raise ahead of a nested region reaches the outer handler; "
                                "a raise inside it stops at its own");
  if (!HandlerWithoutSlot())
    failed |=
        KitFailedCheck(8, "a handler record with slot offset 0 is entered and stores nothing");
  if (sUnreachedSteps)
    failed |= KitFailedCheck(16, "no code runs after a raise that is handled");
  _exit(failed ? 128 | failed : 42);
}
