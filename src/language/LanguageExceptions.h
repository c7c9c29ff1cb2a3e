// The exceptions the value classes raise, each built on first use so that a
// raise works before start-up has registered the exception classes.
#pragma once
#include "runtime/exceptions/ExceptionClasses.h"

inline void RaiseOutOfBounds() { RaiseExceptionClass(OutOfBoundsExceptionClass()); }
inline void RaiseNilObject() { RaiseExceptionClass(NilObjectExceptionClass()); }
inline void RaiseIllegalCast() { RaiseExceptionClass(IllegalCastExceptionClass()); }
inline void RaiseTypeMismatch() { RaiseExceptionClass(TypeMismatchExceptionClass()); }
inline void RaiseOutOfMemory() { RaiseExceptionClass(OutOfMemoryExceptionClass()); }
inline void RaiseKeyNotFound() { RaiseExceptionClass(KeyNotFoundExceptionClass()); }
