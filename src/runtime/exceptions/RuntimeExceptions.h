// Raising exceptions: the entry points that compiled code and the runtime
// call, the unhandled-exception path, and the classes the runtime raises
// itself. A raise entry point returns; when the handler lies in its caller it
// returns straight into the handler, otherwise the return of the frame just
// below the handler's frame leads into it. A runtime function that raises
// therefore returns at once after the raise, with a neutral result.
#pragma once
#include "runtime/objects/RuntimeObject.h"

using ExceptionProc = void (*)(RuntimeObject *exception);

extern "C" {
// Nil does nothing; otherwise the monitor sees the exception, then the
// nearest handler is armed, or the unhandled path runs.
void RuntimeRaiseException(RuntimeObject *exception);
// The same without the monitor: compiled code passing an exception on from
// its catch-all.
void RuntimeReraiseException(RuntimeObject *exception);
// Calls the unhandled-exception hook; without one shows the alert.
void RuntimeUnhandledException(RuntimeObject *exception);
}

// Creates an object of the class, raises it and drops the local reference.
void RaiseExceptionClass(RuntimeClass *exceptionClass);
void RaiseNilObjectException();
void RaiseIllegalCastException();
void RaiseOutOfBoundsException();

// Install (nil removes). The monitor sees every exception raised with
// RuntimeRaiseException before the walk; the hook receives those nobody
// handles.
void SetExceptionMonitor(ExceptionProc monitor);
void SetUnhandledExceptionHook(ExceptionProc hook);

// The classes the runtime raises itself; a nil class shows the alert and is
// stored all the same.
void SetNilObjectExceptionClass(RuntimeClass *exc);
void SetIllegalCastExceptionClass(RuntimeClass *exc);
void SetOutOfBoundsExceptionClass(RuntimeClass *exc);
