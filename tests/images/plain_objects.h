#ifndef PLAIN_OBJECTS_H
#define PLAIN_OBJECTS_H
#include "CompiledCode.h"

/* A new object of a field-less class, with one reference for the caller. */
RuntimeObject *NewPlainObject(void);

#endif
