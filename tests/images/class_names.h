/* Reading an object's class name from inside a test image. */
#ifndef CLASS_NAMES_H
#define CLASS_NAMES_H
#include "CompiledCode.h"

enum { kClassNameField = 1 }; /* RuntimeClass.name, offset 4 */

/* Whether the object's class is named exactly name. */
static inline int32_t ClassNameIs(RuntimeObject *object, const char *name) {
  stringStorage *className = ((stringStorage **)object->classPtr)[kClassNameField];
  const unsigned char *text = className->buffer + 1;
  int32_t i = 0;
  for (; name[i]; ++i)
    if (i >= className->length || text[i] != (unsigned char)name[i])
      return 0;
  return i == className->length;
}

#endif
