/* Runs the kit's conventions against the real loader and unwinder: an
 * exception raised inside a function reaches its catch-all, whose clean-up
 * releases the locals and re-raises it into the caller's protected region.
 * Reports through the exit status, 17 on success:
 *   16 x (times the clean-up ran) + (the caught exception's reference count)
 *   + 32 when the argument's count did not come back to 1
 *   + 64 when the loader did not make the string constant ready
 *   + 128 when code after a raise ran.
 * Each failed check is also named on standard error. */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void *RuntimeNewClass(void *base, int32_t methods, int32_t interfaces, int32_t events,
                      int32_t staticMethods, int32_t properties);
RuntimeObject *RuntimeNewObject(void *runtimeClass);

enum { kInstanceSizeField = 3 }; /* RuntimeClass.instanceSize, offset 12 */

static void *sPlainClass;
static int32_t sCleanUps;
static int32_t sUnreachedSteps;

/* A new object of a field-less class, with one reference for the caller. */
RuntimeObject *NewPlainObject(void) {
  if (!sPlainClass) {
    sPlainClass = RuntimeNewClass(0, 0, 0, 0, 0, 0);
    ((int32_t *)sPlainClass)[kInstanceSizeField] = sizeof(RuntimeObject);
  }
  return RuntimeNewObject(sPlainClass);
}

void RaisesAfterCheckingTarget(RuntimeObject *target) {
  RuntimeObject *exception = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(target);
  KIT_CHECK_NIL(target);
  KIT_TAKE_OBJECT(exception, NewPlainObject());
  RuntimeRaiseException(exception);
  sUnreachedSteps += 1;
  KIT_CATCH_ALL();
  sCleanUps += 1;
  KIT_RELEASE_OBJECT(exception);
  KIT_RELEASE_HELD_OBJECT(target);
  KIT_END();
}

int32_t CatchesFromCallee(void) {
  int32_t result = 0;
  RuntimeObject *target = 0, *error = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(target, NewPlainObject());
  KIT_TRY(error) {
    RaisesAfterCheckingTarget(target);
    sUnreachedSteps += 1;
  }
  KIT_CATCH(error) { result = error->refCount; }
  KIT_END_TRY();
  if (target->refCount != 1)
    result += KitFailedCheck(32, "the argument's count comes back to 1");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_RELEASE_OBJECT(target);
  KIT_END();
  return result;
}

int32_t StringConstantIsReady(void) {
  int32_t ready = 0;
  stringStorage *text = 0;
  KIT_ENTER();
  KIT_ASSIGN_STRING(text, KIT_STRING("Hello"));
  ready = text->buffer == (unsigned char *)text + 20 && text->buffer[0] == 5 &&
          text->buffer[1] == 'H' && text->referenceCount == 2;
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(text);
  KIT_END();
  return ready;
}

void ImageEntry(void) {
  int32_t caught = CatchesFromCallee();
  int32_t status = sCleanUps * 16 + caught;
  /* The clean-ups and the caught reference count as they are. */
  if (sCleanUps != 1)
    KitFailedCheck(0, "the callee's clean-up runs once");
  if (caught % 32 != 1)
    KitFailedCheck(0, "the caught exception holds one reference");
  if (!StringConstantIsReady())
    status += KitFailedCheck(64, "the loader makes the string constant ready");
  if (sUnreachedSteps)
    status += KitFailedCheck(128, "no code runs after a raise");
  _exit(status);
}
