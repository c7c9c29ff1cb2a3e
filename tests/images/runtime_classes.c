#include "runtime_classes.h"

int32_t TextIs(stringStorage *s, const char *text) {
  int32_t i;
  if (!s)
    return text[0] == 0;
  for (i = 0; i < s->length; ++i)
    if (s->buffer[1 + i] != (unsigned char)text[i])
      return 0;
  return text[s->length] == 0;
}

RuntimeClass *SubclassOf(stringStorage *baseName) {
  RuntimeClass *base = RuntimeLookupClass(baseName), *sub;
  if (!base)
    return 0;
  sub = RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                        base->staticMethodCount, base->propertyCount);
  sub->instanceSize = base->instanceSize;
  return sub;
}

int32_t HandleEvent(RuntimeClass *cls, const char *eventName, void *handler) {
  int32_t i;
  for (i = 0; i < cls->eventCount; ++i)
    if (TextIs(cls->events[i].name, eventName)) {
      cls->events[i].vector = handler;
      return 1;
    }
  return 0;
}

void *MethodCode(RuntimeClass *cls, const char *linkName) {
  int32_t i;
  for (i = 0; i < cls->methodCount; ++i)
    if (TextIs(cls->methods[i].linkName, linkName))
      return cls->methods[i].code;
  for (i = 0; i < cls->staticMethodCount; ++i)
    if (TextIs(cls->staticMethods[i].linkName, linkName))
      return cls->staticMethods[i].code;
  return 0;
}

PropertyEntry *PropertyNamed(RuntimeClass *cls, const char *name) {
  int32_t i;
  for (i = 0; i < cls->propertyCount; ++i)
    if (TextIs(cls->properties[i].name, name))
      return &cls->properties[i];
  return 0;
}

RuntimeObject *NewApplicationHandling(const char *firstEvent, void *first, const char *secondEvent,
                                      void *second) {
  RuntimeClass *cls = SubclassOf(KIT_STRING("Application"));
  if (!cls || !HandleEvent(cls, firstEvent, first) || !HandleEvent(cls, secondEvent, second))
    return 0;
  return RuntimeNewObject(cls);
}
