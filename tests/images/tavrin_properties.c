#include "tavrin_properties.h"

#include "runtime_classes.h"

typedef int32_t (*IntegerGetter)(RuntimeObject *, int32_t);
typedef stringStorage *(*StringGetter)(RuntimeObject *, int32_t);

/* The entry with a getter function of its own, or nil. */
static PropertyEntry *Readable(RuntimeObject *object, const char *name) {
  PropertyEntry *entry = object ? FindProperty((RuntimeClass *)object->classPtr, name) : 0;
  return entry && entry->getter != (void *)1 ? entry : 0;
}

int32_t IntegerProperty(RuntimeObject *object, const char *name) {
  PropertyEntry *entry = Readable(object, name);
  return entry ? ((IntegerGetter)entry->getter)(object, entry->param) : -12345;
}

int32_t StringPropertyIs(RuntimeObject *object, const char *name, const char *text) {
  PropertyEntry *entry = Readable(object, name);
  stringStorage *value;
  int32_t same;
  if (!entry)
    return 0;
  value = ((StringGetter)entry->getter)(object, entry->param);
  same = TextIs(value, text);
  RuntimeUnlockString(value);
  return same;
}
