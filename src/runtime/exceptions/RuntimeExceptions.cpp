#include "runtime/exceptions/RuntimeExceptions.h"

#include "foundation/AssertionAlert.h"
#include "runtime/exceptions/Unwinder.h"

namespace {
ExceptionProc sExceptionMonitor = nullptr;
ExceptionProc sUnhandledExceptionHook = nullptr;
RuntimeClass *sNilObjectExceptionClass = nullptr;
RuntimeClass *sIllegalCastExceptionClass = nullptr;
RuntimeClass *sOutOfBoundsExceptionClass = nullptr;
} // namespace

// Both raise entry points hand the walk their own frame: the first frame
// whose return address may be redirected into a handler in their caller. They
// must stay out of line for that, and return right after the walk.

extern "C" __attribute__((noinline)) void RuntimeRaiseException(RuntimeObject *exception) {
  if (!exception)
    return;
  if (sExceptionMonitor)
    sExceptionMonitor(exception);
  if (!ArmNearestHandler(__builtin_frame_address(0), exception))
    RuntimeUnhandledException(exception);
}

extern "C" __attribute__((noinline)) void RuntimeReraiseException(RuntimeObject *exception) {
  if (!exception)
    return;
  if (!ArmNearestHandler(__builtin_frame_address(0), exception))
    RuntimeUnhandledException(exception);
}

extern "C" void RuntimeUnhandledException(RuntimeObject *exception) {
  if (sUnhandledExceptionHook)
    sUnhandledExceptionHook(exception);
  else
    RUNTIME_CHECK(0);
}

void RaiseExceptionClass(RuntimeClass *exceptionClass) {
  RuntimeClass *exclass = exceptionClass;
  // Without a class there is nothing to create: what is raised instead is a
  // NilObjectException, as creating an object of no class would raise (and
  // without that class either, nothing; never a raise that loops back here).
  if (!RUNTIME_CHECK(exclass))
    exclass = sNilObjectExceptionClass;
  if (!exclass)
    return;
  RuntimeObject *exception = RuntimeNewObject(exclass);
  RuntimeRaiseException(exception);
  RuntimeUnlockObject(exception);
}

void RaiseNilObjectException() { RaiseExceptionClass(sNilObjectExceptionClass); }
void RaiseIllegalCastException() { RaiseExceptionClass(sIllegalCastExceptionClass); }
void RaiseOutOfBoundsException() { RaiseExceptionClass(sOutOfBoundsExceptionClass); }

void SetExceptionMonitor(ExceptionProc monitor) { sExceptionMonitor = monitor; }
void SetUnhandledExceptionHook(ExceptionProc hook) { sUnhandledExceptionHook = hook; }

void SetNilObjectExceptionClass(RuntimeClass *exc) {
  RUNTIME_CHECK(exc);
  sNilObjectExceptionClass = exc;
}

void SetIllegalCastExceptionClass(RuntimeClass *exc) {
  RUNTIME_CHECK(exc);
  sIllegalCastExceptionClass = exc;
}

void SetOutOfBoundsExceptionClass(RuntimeClass *exc) {
  RUNTIME_CHECK(exc);
  sOutOfBoundsExceptionClass = exc;
}
