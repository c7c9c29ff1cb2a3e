/* The fields of an exception object that a test image reads once it has
 * caught the exception in a protected region. */
#ifndef EXCEPTION_OBJECT_H
#define EXCEPTION_OBJECT_H
#include "CompiledCode.h"

typedef struct RuntimeExceptionObject {
  RuntimeObject header;
  int32_t errorNumber;
  stringStorage *message;
} RuntimeExceptionObject;
_Static_assert(sizeof(RuntimeExceptionObject) == 32, "exception object");

#endif
